// The zoom commands of the View menu: step the shared font size within its bounds, or reset it.
#pragma once

#include "viewer_core/SharedSettings.hpp"

#include <string_view>

namespace quessel::core {

// One step up, bounded only from above: a size already beyond the maximum drops to it.
double zoomedIn(double size) noexcept;
// One step down, bounded only from below: a size already under the minimum rises to it.
double zoomedOut(double size) noexcept;

// What the menu items call. Each command assigns fontSize exactly once (also at a bound), so
// the size is written to the store and every observer updates. The commands are never
// disabled.
class ZoomCommands {
public:
    static constexpr std::string_view zoomInTitle = "Zoom In";
    static constexpr std::string_view zoomOutTitle = "Zoom Out";
    static constexpr std::string_view actualSizeTitle = "Actual Size";

    ZoomCommands() : ZoomCommands(SharedSettings::shared()) {}
    explicit ZoomCommands(SharedSettings& settings) noexcept : settings_(settings) {}

    void zoomIn() const;
    void zoomOut() const;
    void actualSize() const;

private:
    SharedSettings& settings_;
};

} // namespace quessel::core

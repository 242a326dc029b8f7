// The zoom commands of the View menu: step the shared font size within its bounds, or reset it.
#include "viewer_core/ZoomCommands.hpp"

#include <algorithm>

namespace quessel::core {

double zoomedIn(double size) noexcept {
    return std::min(size + SharedSettings::fontSizeStep, SharedSettings::maximumFontSize);
}

double zoomedOut(double size) noexcept {
    return std::max(size - SharedSettings::fontSizeStep, SharedSettings::minimumFontSize);
}

void ZoomCommands::zoomIn() const {
    settings_.setFontSize(zoomedIn(settings_.fontSize()));
}

void ZoomCommands::zoomOut() const {
    settings_.setFontSize(zoomedOut(settings_.fontSize()));
}

void ZoomCommands::actualSize() const {
    settings_.setFontSize(SharedSettings::defaultFontSize);
}

} // namespace quessel::core

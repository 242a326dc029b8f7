// Applies the shared light/dark setting to the application through libadwaita's style manager,
// and keeps applying it as the setting changes, by this process or another viewer of the family.
#pragma once

#include "viewer_core/Appearance.hpp"
#include "viewer_core/SharedSettings.hpp"

#include <sigc++/connection.h>

namespace quessel::core {

// GTK has one colour scheme per process (AdwStyleManager), not one per window, so a single
// modifier serves every window. Needs libadwaita initialised (adw_init).
class SharedAppearanceModifier {
public:
    explicit SharedAppearanceModifier(SharedSettings& settings = SharedSettings::shared());
    ~SharedAppearanceModifier();
    SharedAppearanceModifier(const SharedAppearanceModifier&) = delete;
    SharedAppearanceModifier& operator=(const SharedAppearanceModifier&) = delete;

    // Sets the style manager's colour scheme for `appearance`: system follows the desktop,
    // light and dark force their scheme.
    static void apply(Appearance appearance);

private:
    // The settings announce a change before storing it: read them on the next main-loop turn.
    void scheduleApply();

    SharedSettings& settings_;
    sigc::connection willChange_;
    sigc::connection pendingApply_;
};

} // namespace quessel::core

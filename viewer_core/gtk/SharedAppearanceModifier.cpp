// Applies the shared light/dark setting to the application through libadwaita's style manager,
// and keeps applying it as the setting changes, by this process or another viewer of the family.
#include "viewer_core/gtk/SharedAppearanceModifier.hpp"

#include <adwaita.h>
#include <glibmm/main.h>

namespace quessel::core {

SharedAppearanceModifier::SharedAppearanceModifier(SharedSettings& settings)
    : settings_(settings),
      willChange_(settings.signalWillChange().connect([this] { scheduleApply(); })) {
    apply(settings_.appearance());
}

SharedAppearanceModifier::~SharedAppearanceModifier() {
    willChange_.disconnect();
    pendingApply_.disconnect();
}

void SharedAppearanceModifier::apply(Appearance appearance) {
    AdwColorScheme scheme = ADW_COLOR_SCHEME_DEFAULT;
    if (const auto forced = colorScheme(appearance))
        scheme = *forced == ColorScheme::dark ? ADW_COLOR_SCHEME_FORCE_DARK
                                              : ADW_COLOR_SCHEME_FORCE_LIGHT;
    AdwStyleManager* manager = adw_style_manager_get_default();
    if (adw_style_manager_get_color_scheme(manager) != scheme)
        adw_style_manager_set_color_scheme(manager, scheme);
}

void SharedAppearanceModifier::scheduleApply() {
    if (pendingApply_.connected())
        return;
    pendingApply_ = Glib::signal_idle().connect([this] {
        apply(settings_.appearance());
        return false;
    });
}

} // namespace quessel::core

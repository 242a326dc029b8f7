// The application's effective light or dark appearance, as page generation asks for it.
#include "app/PlatformAppearance.hpp"

#include <adwaita.h>

namespace quessel::app {

Appearance platformAppearance() {
    return adw_style_manager_get_dark(adw_style_manager_get_default()) ? Appearance::dark
                                                                       : Appearance::light;
}

} // namespace quessel::app

// The application's effective light or dark appearance, as page generation asks for it.
#include "app/web/PlatformAppearance.hpp"

#include <adwaita.h>

namespace quessel::app::web {

page::Appearance platformAppearance() {
    return adw_style_manager_get_dark(adw_style_manager_get_default()) ? page::Appearance::dark
                                                                       : page::Appearance::light;
}

} // namespace quessel::app::web

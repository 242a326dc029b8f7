// The application's effective light or dark appearance, as page generation asks for it.
#pragma once

#include "page/Appearance.hpp"

namespace quessel::app::web {

// Dark when libadwaita's style manager says the application is dark now (the user's choice or
// the system's), light otherwise. Asked once per generated page.
page::Appearance platformAppearance();

} // namespace quessel::app::web

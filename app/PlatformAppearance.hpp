// The application's effective light or dark appearance, as page generation asks for it.
#pragma once

#include "app/page/Appearance.hpp"

namespace quessel::app {

// Dark when libadwaita's style manager says the application is dark now (the user's choice or
// the system's), light otherwise. Asked once per generated page.
Appearance platformAppearance();

} // namespace quessel::app

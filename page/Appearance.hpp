// The light/dark choice a page is generated for, and the source the application supplies for it.
#pragma once

#include <functional>

namespace quessel::page {

enum class Appearance { light, dark };

// Asked once per generated page. The application passes the platform's effective appearance
// (the web view host reads libadwaita's dark state); quessel-render passes its --appearance
// choice. Page generation never reads settings itself.
using AppearanceSource = std::function<Appearance()>;

} // namespace quessel::page

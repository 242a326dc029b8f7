// TEMPORARY stand-in until the virtualised page is merged: writes the markup page.
#include "app/page/VirtualPage.hpp"

#include "app/page/MarkupPage.hpp"

namespace quessel::app {

std::string writeVirtualPage(const PageContent& content, Appearance appearance, int fontSize) {
    return writeMarkupPage(content, appearance, fontSize);
}

} // namespace quessel::app

// The application's page source: page generation with the platform's appearance.
#include "app/DocumentPages.hpp"

#include "app/PlatformAppearance.hpp"
#include "app/page/PageGenerator.hpp"

#include <memory>

namespace quessel::app {

YAMLWebView::PageSource documentPages() {
    auto generator = std::make_shared<const PageGenerator>(&platformAppearance);
    return [generator](std::string_view content, int fontSize) {
        return generator->generateHTML(content, fontSize);
    };
}

} // namespace quessel::app

// The application's page source: page generation for the appearance the window asks for.
#include "app/DocumentPages.hpp"

#include "app/page/PageGenerator.hpp"

namespace quessel::app {

YAMLWebView::PageSource documentPages() {
    return [](std::string_view content, int fontSize, Appearance appearance) {
        // A generator of its own per page: it asks its source once, and is cheap to make.
        const PageGenerator generator([appearance] { return appearance; });
        return generator.generateHTML(content, fontSize);
    };
}

} // namespace quessel::app

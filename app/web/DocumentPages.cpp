// The application's page source: page generation for the appearance the window asks for.
#include "app/web/DocumentPages.hpp"

#include "page/PageGenerator.hpp"

namespace quessel::app::web {

YAMLWebView::PageSource documentPages() {
    return [](std::string_view content, int fontSize, page::Appearance appearance) {
        // A generator of its own per page: it asks its source once, and is cheap to make.
        // Documents of more lines than the markup page can carry quickly get the virtualised
        // page; an exported page (quessel-render) stays all-markup unless asked otherwise.
        const page::PageGenerator generator([appearance] { return appearance; },
                                            page::PageKind::automatic);
        return generator.generate(content, fontSize);
    };
}

} // namespace quessel::app::web

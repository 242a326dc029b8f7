// Document text and a font size in, one complete self-contained HTML page out.
#pragma once

#include "page/Appearance.hpp"
#include "page/GeneratedPage.hpp"
#include "page/PageContent.hpp"
#include "page/PageKind.hpp"

#include <string>
#include <string_view>

namespace quessel::page {

class PageGenerator {
public:
    // `appearance` is asked once per page; an empty source means light. `kind` chooses between
    // the all-markup page and the virtualised one (see PageKind).
    explicit PageGenerator(AppearanceSource appearance, PageKind kind = PageKind::markup);

    // Never fails: text that does not load becomes a page with an error banner over the
    // numbered raw text. A virtualised page's data comes apart from its HTML.
    GeneratedPage generate(std::string_view content, int fontSize) const;

    // The same page as one self-contained HTML text, its data inside.
    std::string generateHTML(std::string_view content, int fontSize) const {
        return generate(content, fontSize).inlined();
    }

private:
    GeneratedPage writePage(const PageContent& page, Appearance appearance, int fontSize) const;

    AppearanceSource appearance_;
    PageKind kind_;
};

} // namespace quessel::page

// Document text and a font size in, one complete self-contained HTML page out.
#pragma once

#include "app/page/Appearance.hpp"

#include <string>
#include <string_view>

namespace quessel::app {

class PageGenerator {
public:
    // `appearance` is asked once per page; an empty source means light.
    explicit PageGenerator(AppearanceSource appearance);

    // Never fails: text that does not load becomes a page with an error banner over the
    // numbered raw text.
    std::string generateHTML(std::string_view content, int fontSize) const;

private:
    AppearanceSource appearance_;
};

} // namespace quessel::app

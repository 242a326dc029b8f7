// The all-markup page: every line of the document as elements, searched by walking the DOM.
#pragma once

#include "page/Appearance.hpp"
#include "page/PageContent.hpp"

#include <cstddef>
#include <optional>
#include <string>

namespace quessel::page {

// Writes the complete page for `content`: the tree of a loaded value, the banner and numbered
// listing of a failure, or the italic note for a text without a document.
std::string writeMarkupPage(const PageContent& content, Appearance appearance, int fontSize);

// The same page, or nothing when it would hold more than `lineLimit` lines (mapping entries and
// sequence elements of the value, or lines of the listing). Giving up costs at most `lineLimit`
// lines of writing.
std::optional<std::string> writeMarkupPageWithin(const PageContent& content, Appearance appearance,
                                                 int fontSize, std::size_t lineLimit);

} // namespace quessel::page

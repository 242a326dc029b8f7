// The all-markup page: every line of the document as elements, searched by walking the DOM.
#pragma once

#include "app/page/Appearance.hpp"
#include "app/page/PageContent.hpp"

#include <string>

namespace quessel::app {

// Writes the complete page for `content`: the tree of a loaded value, the banner and numbered
// listing of a failure, or the italic note for a text without a document.
std::string writeMarkupPage(const PageContent& content, Appearance appearance, int fontSize);

} // namespace quessel::app

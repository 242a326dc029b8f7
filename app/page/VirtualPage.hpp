// The virtualised page: the document as compact data, with only the lines in view as elements.
#pragma once

#include "app/page/Appearance.hpp"
#include "app/page/PageContent.hpp"

#include <string>

namespace quessel::app {

// Writes the complete virtualised page for `content`. A content that is neither a non-empty
// collection nor a failure listing has nothing to virtualise: it gets the markup page.
std::string writeVirtualPage(const PageContent& content, Appearance appearance, int fontSize);

} // namespace quessel::app

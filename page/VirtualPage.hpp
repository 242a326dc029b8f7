// The virtualised page: the document as compact data, only the rows in view as elements.
#pragma once

#include "page/Appearance.hpp"
#include "page/GeneratedPage.hpp"
#include "page/PageContent.hpp"

namespace quessel::page {

// The same head, banner and fixed text around the content as the all-markup page, with the
// content container left empty for the rows script, which builds the rows in view from the data
// element that follows the container; the data comes apart. A content without rows (a scalar,
// an empty collection, a text without a document) gets the all-markup page: it has nothing to
// virtualise.
GeneratedPage writeVirtualPage(const PageContent& content, Appearance appearance, int fontSize);

} // namespace quessel::page

// The virtualised page's data: every row's text pieces and kinds as one compact JSON object.
#pragma once

#include "page/PageContent.hpp"

#include <cstddef>
#include <string>

namespace quessel::page {

// Whether `content` has rows: a non-empty collection, or a failure's listing.
bool hasRows(const PageContent& content);

// Appends the data object (see protocol::field): the markers, the pieces of every row in the
// all-markup page's line order and the row kinds, or for a failure the numbered listing and its
// error line. Each piece is the text the engine's HTML parser makes of the all-markup page's text
// node for it.
// `<` is written as \u003c, so the object can stand inside a script element. False, with
// nothing appended, in the one case without free marker characters (a document holding all
// of U+0080..U+009F and U+E000..U+F8FF).
bool appendRowData(std::string& out, const PageContent& content);

} // namespace quessel::page

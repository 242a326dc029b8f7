// The virtualised page's data: every row's text pieces and kinds as one compact JSON object.
#pragma once

#include "page/PageContent.hpp"

#include <cstddef>
#include <string>

namespace quessel::page {

// Character codes of the row kinds (the "K" string): rowKindBase + depth * 16 + kind, where kind
// is the class below, plus rowKindSequenceElement for sequence elements.
inline constexpr char32_t rowKindBase = 0x100;
inline constexpr unsigned rowKindSequenceElement = 8;
enum class RowClass : unsigned { collapsible, string, number, boolean, null, bracket };

// The deepest level a row kind can name without leaving the Basic Multilingual Plane's
// characters below the surrogates; the loader stops at 1,000 levels, far below it.
inline constexpr std::size_t deepestRowKindLevel = (0xD7FF - rowKindBase - 15) / 16;

// Whether `content` has rows: a non-empty collection, or a failure's listing.
bool hasRows(const PageContent& content);

// Appends {"M":"...","T":"...","K":"..."[,"L":1][,"E":n]}: the markers, the pieces of every row
// in the all-markup page's line order, the row kinds; for a failure the numbered listing. Each
// piece is the text the engine's HTML parser makes of the all-markup page's text node for it.
// `<` is written as \u003c, so the object can stand inside a script element. False, with
// nothing appended, in the one case without free marker characters (a document holding all
// of U+0080..U+009F and U+E000..U+F8FF).
bool appendRowData(std::string& out, const PageContent& content);

} // namespace quessel::page

// What page generation and the pages' scripts agree on, defined once: the virtualised page's data
// fields and row kinds, the ids and class names the scripts look for, and the glyphs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quessel::page::protocol {

// The element the virtualised page's data is written into, and the container its rows go in.
inline constexpr std::string_view dataElementId = "page-data";
inline constexpr std::string_view rowsContainerId = "virtual-content";

// The members of the data element's JSON object. A page whose data is served apart holds
// {"parts": [addresses...]} instead: the data's parts, fetched and joined in order.
namespace field {
inline constexpr std::string_view markers = "markers"; // piece end, row end, toggle: 3 characters
inline constexpr std::string_view pieces = "pieces";   // every row's pieces, each ended by a marker
inline constexpr std::string_view kinds = "kinds";     // one character per row (see rowKindBase)
inline constexpr std::string_view listing = "listing"; // true: the rows are a numbered listing
inline constexpr std::string_view errorLine = "errorLine"; // the listing's 1-based marked line
// [line, unit, ...]: the listing's characters a failure names, by line and the UTF-16 units
// before them in it; -1 for a place beyond the line's last character.
inline constexpr std::string_view errorMarks = "errorMarks";
// [row, pieces, title, ...] for the tree rows whose pieces are not the usual ones: one layout
// character per piece (see layout), and a tooltip for the row's key ("" for none).
inline constexpr std::string_view layouts = "layouts";
// [unit, count, ...]: how often each UTF-16 unit occurs in the pieces as shown (the toggle
// marker as its glyph); missing when the text is not UTF-8.
inline constexpr std::string_view unitCounts = "unitCounts";
inline constexpr std::string_view parts = "parts";
} // namespace field

// A tree row's kind is one character: rowKindBase + depth * depthStep + the row's class, plus
// sequenceElement for the elements of a sequence.
inline constexpr char32_t rowKindBase = 0x100;
inline constexpr unsigned depthStep = 16;
inline constexpr unsigned sequenceElement = 8;
enum class RowClass : unsigned { collapsible, string, number, boolean, null, bracket };

// The deepest level a row kind can name without leaving the Basic Multilingual Plane's characters
// below the surrogates; the loader stops at 1,000 levels, far below it.
inline constexpr std::size_t deepestRowKindLevel =
    (0xD7FF - rowKindBase - (depthStep - 1)) / depthStep;

// The class of a row's value span for each row class (a collapsible row has a preview instead).
inline constexpr std::string_view rowClassNames[] = {"",        "string", "number",
                                                     "boolean", "null",   "bracket"};

// Indentation per level of the tree, in pixels: a row's left padding is this times its depth,
// one more for a row without a toggle, so that keys and dashes of both kinds of row align.
inline constexpr int pixelsPerLevel = 16;

// The classes of the pages' elements that the scripts make, find or change; the style sheet
// styles them by the same names.
namespace className {
inline constexpr std::string_view line = "line";
inline constexpr std::string_view key = "key";
inline constexpr std::string_view bracket = "bracket";
inline constexpr std::string_view toggle = "toggle";
inline constexpr std::string_view preview = "collapsed-preview";
inline constexpr std::string_view content = "content";
inline constexpr std::string_view collapsed = "collapsed"; // a toggle turned, a content hidden
inline constexpr std::string_view visible = "visible";     // a preview shown
inline constexpr std::string_view rawContent = "raw-content";
inline constexpr std::string_view rawLine = "raw-line";
inline constexpr std::string_view errorLine = "error-line";
inline constexpr std::string_view cut = "cut";            // where a long text's shown part is cut
inline constexpr std::string_view errorEnd = "error-end"; // a failure's place after the line
inline constexpr std::string_view errorDetail = "error-detail";
inline constexpr std::string_view lineNumber = "line-number";
inline constexpr std::string_view lineContent = "line-content";
inline constexpr std::string_view errorBanner = "error-banner";
inline constexpr std::string_view highlight = "highlight"; // a search match's mark
inline constexpr std::string_view current = "current";     // the current match's mark
inline constexpr std::string_view document = "document";   // a stream's document header
inline constexpr std::string_view tag = "tag";             // a node's tag as written
inline constexpr std::string_view anchor = "anchor";       // a node's anchor
inline constexpr std::string_view alias = "alias";         // the alias a value stands for
inline constexpr std::string_view merged = "merged";       // a key from a merged mapping
} // namespace className

// What a collapsible entry's id follows in the ids of its toggle, preview and content.
namespace idPrefix {
inline constexpr std::string_view toggle = "toggle-";
inline constexpr std::string_view preview = "preview-";
inline constexpr std::string_view content = "content-";
} // namespace idPrefix

// What each piece of a row with a layout of its own is: the layout has one of these per piece.
// The note characters are NoteClass's.
namespace layout {
inline constexpr char toggle = 'T';
inline constexpr char key = 'K';
inline constexpr char mergedKey = 'M';
inline constexpr char dash = 'B';
inline constexpr char document = 'D';
inline constexpr char text = ' '; // no element of its own: ": ", " "
inline constexpr char value = 'V';
inline constexpr char preview = 'P';
inline constexpr char tag = 't';
inline constexpr char anchor = 'a';
inline constexpr char alias = 'l';
} // namespace layout
// The data attribute of a listing line's content that names the characters to mark there, as
// UTF-16 unit offsets separated by spaces, and the highlight that marks them.
inline constexpr std::string_view errorColumnsAttribute = "data-error-columns";
inline constexpr std::string_view errorColumnHighlight = "error-column";
// The collapse toggle's glyph; in the data a marker of its own stands for it.
inline constexpr std::string_view toggleGlyph = "\u25BC";
// What an empty listing line shows (the markup listing's &nbsp;), so that it keeps its height.
inline constexpr std::string_view emptyLineText = "\u00A0";

// Appends the script statement that hands all of the above to the scripts, as the frozen object
// `Protocol`. It comes first in each page's script.
void appendProtocolScript(std::string& out);

} // namespace quessel::page::protocol

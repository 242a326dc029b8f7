// The pages' text resources, compiled in from the style sheets in page/styles and the scripts in
// page/scripts. Each script defines one module; a page's script runs the modules it needs in one
// strict-mode scope, after the page protocol (see scriptOfParts).
#pragma once

#include <string_view>

namespace quessel::page {

// The rules after the palette. The body's font size is written as `var(--page-font-size)`,
// which page generation replaces by the requested size in pixels.
extern const std::string_view pageStyleSheet;
// The virtualised page's rules, after the style sheet: row positioning and the pitch probe.
extern const std::string_view virtualStyleSheet;

// Both pages: marking matches in the body's text, and the search the host drives.
extern const std::string_view searchMarksScript;
extern const std::string_view matchSearchScript;
extern const std::string_view errorColumnsScript;

// Both pages' tree: the keyboard cursor, the path that names its row, its keys, and the view the
// host keeps across a new page of the same file.
extern const std::string_view treeCursorScript;
extern const std::string_view cursorPathScript;
extern const std::string_view cursorKeysScript;
extern const std::string_view viewStateScript;

// The all-markup page: its lines as the cursor's rows, toggles, and its matches as marks in the
// body.
extern const std::string_view markupRowsScript;
extern const std::string_view markupPageScript;

// The virtualised page, in the order its script runs them: binary searches, the data, the rows'
// index, tree and geometry, writing and painting rows, selection, the search's lower case of the
// text's units, a piece searched as a text node, a search text's matches in order, the search
// over the rows, the page's matches, the rows as the cursor sees them, and the page put together.
extern const std::string_view sortedArraysScript;
extern const std::string_view pageDataScript;
extern const std::string_view rowIndexScript;
extern const std::string_view rowTreeScript;
extern const std::string_view scrollGeometryScript;
extern const std::string_view rowWriterScript;
extern const std::string_view rowPainterScript;
extern const std::string_view rowSelectionScript;
extern const std::string_view unitCaseScript;
extern const std::string_view pieceSearchScript;
extern const std::string_view matchEnumeratorScript;
extern const std::string_view rowSearchScript;
extern const std::string_view virtualMatchesScript;
extern const std::string_view virtualRowsScript;
extern const std::string_view virtualPageScript;

} // namespace quessel::page

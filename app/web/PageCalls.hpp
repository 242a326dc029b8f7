// The script texts the host evaluates in the page: search, navigation, the cursor, folding and
// the font size.
#pragma once

#include "yaml/NodePath.hpp"

#include <string>
#include <string_view>

namespace quessel::app::web {

// The text as the body of a single-quoted script string literal: backslash doubled, apostrophe
// preceded by a backslash, and the line terminators a literal cannot hold written as escapes
// (\n, \r, \u2028, \u2029), so that every search text reaches the page as typed.
std::string singleQuotedLiteralBody(std::string_view text);

// highlightMatches('<text>')
std::string highlightMatchesCall(std::string_view searchText);

// highlightMatches('<text>', N): the matches marked and the Nth made current where it still
// exists, without moving the view, as a new page of the same document takes the search back.
std::string highlightMatchesCall(std::string_view searchText, int current);

// The page's view (folding and the row at the top) as JSON text, or "null" for a page without a
// tree or without the function.
inline constexpr const char* viewStateQuery =
    "JSON.stringify(typeof viewState === 'function' ? viewState() : null)";

// restoreViewState(JSON.parse('<state>')): a view the query gave, put back on a new page.
std::string restoreViewStateCall(std::string_view state);

// navigateMatch(true) or navigateMatch(false)
std::string navigateMatchCall(bool forward);

// placeCursor({document: …, steps: [{key: '…'}, {index: N}, …]})
std::string placeCursorCall(const yaml::NodePath& path);

// expandToLevel(N), for N from 1
std::string expandToLevelCall(int level);

// Whole-tree folding, as the page names it.
inline constexpr const char* expandAllCall = "expandAll()";
inline constexpr const char* collapseAllCall = "collapseAll()";

// document.body.style.fontSize = '<size>px'
std::string fontSizeAssignment(int fontSize);

} // namespace quessel::app::web

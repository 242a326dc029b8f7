// The script texts the host evaluates in the page: search, navigation and the font size.
#pragma once

#include <string>
#include <string_view>

namespace quessel::app::web {

// The text as the body of a single-quoted script string literal: backslash doubled, apostrophe
// preceded by a backslash, and the line terminators a literal cannot hold written as escapes
// (\n, \r, \u2028, \u2029), so that every search text reaches the page as typed.
std::string singleQuotedLiteralBody(std::string_view text);

// highlightMatches('<text>')
std::string highlightMatchesCall(std::string_view searchText);

// navigateMatch(true) or navigateMatch(false)
std::string navigateMatchCall(bool forward);

// document.body.style.fontSize = '<size>px'
std::string fontSizeAssignment(int fontSize);

} // namespace quessel::app::web

// Whether a text holds nothing but spaces, tabs and line breaks: a stream without a document.
#pragma once

#include <string_view>

namespace quessel::yaml {

// Line breaks are the ones libyaml reads as such: line feed, carriage return, U+0085, U+2028
// and U+2029. A byte order mark may come first, as libyaml skips it before reading anything.
// Empty text counts.
bool isWhiteSpaceOnly(std::string_view text) noexcept;

} // namespace quessel::yaml

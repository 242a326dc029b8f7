// Whether a text holds nothing but Unicode white space and line breaks.
#pragma once

#include <string_view>

namespace quessel::page {

// White space here is what text trimming treats as such: the Unicode space separators (Zs),
// the line and paragraph separators, and the controls U+0009 to U+000D and U+0085. Invalid
// UTF-8 counts as text.
bool isBlankText(std::string_view text);

} // namespace quessel::page

// Texts written as JSON strings into a page's data element.
#pragma once

#include <string>
#include <string_view>

namespace quessel::page {

// Appends `text` as a JSON string, quotes included. Nothing written may end the element or the
// string: quotes, backslashes, controls and "<" are escaped.
void appendJsonString(std::string& out, std::string_view text);

} // namespace quessel::page

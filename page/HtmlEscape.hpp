// Escaping of document text for HTML element content and attribute values.
#pragma once

#include <string>
#include <string_view>

namespace quessel::page {

// Appends `text` with "&", "<", ">", the double quote and the apostrophe replaced by "&amp;",
// "&lt;", "&gt;", "&quot;" and "&#39;". Replacing each character once in a single pass gives
// the same text as the five whole-text replacements done in that order, ampersand first.
void appendEscaped(std::string& out, std::string_view text);

std::string escapeHtml(std::string_view text);

} // namespace quessel::page

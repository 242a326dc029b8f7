// Texts written as JSON strings into a page's data element.
#include "page/JsonString.hpp"

namespace quessel::page {

void appendJsonString(std::string& out, std::string_view text) {
    static constexpr char digits[] = "0123456789abcdef";
    out.push_back('"');
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '"' || c == '\\' || c == '<') {
            out.append("\\u00");
            out.push_back(digits[byte >> 4U]);
            out.push_back(digits[byte & 0xFU]);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

} // namespace quessel::page

// Whether a text holds nothing but Unicode white space and line breaks.
#include "page/BlankText.hpp"

#include "yaml/Utf8.hpp"

#include <algorithm>
#include <array>

namespace quessel::page {
namespace {

bool isWhiteSpace(char32_t c) {
    constexpr std::array<char32_t, 9> singles = {0x20,   0x85,   0xA0,   0x1680, 0x2028,
                                                 0x2029, 0x202F, 0x205F, 0x3000};
    return (c >= 0x09 && c <= 0x0D) || (c >= 0x2000 && c <= 0x200A) ||
           std::find(singles.begin(), singles.end(), c) != singles.end();
}

} // namespace

bool isBlankText(std::string_view text) {
    for (std::size_t position = 0; position < text.size();) {
        const yaml::utf8::Decoded decoded = yaml::utf8::decode(text, position);
        if (!isWhiteSpace(decoded.scalar)) {
            return false; // U+FFFD, what an invalid byte decodes as, is not white space
        }
        position += decoded.length;
    }
    return true;
}

} // namespace quessel::page

// Whether a text holds nothing but Unicode white space and line breaks.
#include "app/page/BlankText.hpp"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quessel::app {
namespace {

bool isWhiteSpace(std::uint32_t c) {
    constexpr std::array<std::uint32_t, 9> singles = {0x20,   0x85,   0xA0,   0x1680, 0x2028,
                                                      0x2029, 0x202F, 0x205F, 0x3000};
    return (c >= 0x09 && c <= 0x0D) || (c >= 0x2000 && c <= 0x200A) ||
           std::find(singles.begin(), singles.end(), c) != singles.end();
}

// Decodes the scalar at `i` and moves past it; returns a non-space value for invalid input.
std::uint32_t nextScalar(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || i + static_cast<std::size_t>(length - 1) > text.size()) {
        return 0xFFFD;
    }
    std::uint32_t scalar = lead & (0x7FU >> static_cast<unsigned>(length));
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i++]);
        if ((next & 0xC0U) != 0x80U) {
            return 0xFFFD;
        }
        scalar = (scalar << 6U) | (next & 0x3FU);
    }
    return scalar;
}

} // namespace

bool isBlankText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isWhiteSpace(nextScalar(text, i))) {
            return false;
        }
    }
    return true;
}

} // namespace quessel::app

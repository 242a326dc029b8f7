// Decoding the Base64 text of a `!!binary` scalar.
#include "yaml/Base64.hpp"

#include <array>

namespace quessel::yaml {
namespace {

constexpr std::int8_t notInAlphabet = -1;
constexpr std::int8_t padding = -2;

constexpr std::array<std::int8_t, 256> makeSextets() {
    std::array<std::int8_t, 256> table{};
    table.fill(notInAlphabet);
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < alphabet.size(); ++i) {
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
    }
    table['='] = padding;
    return table;
}

constexpr std::array<std::int8_t, 256> sextets = makeSextets();

// The bytes of an incomplete last group of two or three characters; `bits` holds its sextets.
bool finishGroup(std::vector<std::uint8_t>& bytes, std::uint32_t bits, int characters,
                 int paddingCount) {
    switch (characters) {
    case 0:
        return paddingCount == 0;
    case 2:
        if (paddingCount != 0 && paddingCount != 2) {
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>(bits >> 4));
        return true;
    case 3:
        if (paddingCount > 1) {
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>(bits >> 10));
        bytes.push_back(static_cast<std::uint8_t>(bits >> 2));
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3 + 2);
    std::uint32_t bits = 0;
    int characters = 0;
    int paddingCount = 0;
    for (const char c : text) {
        const std::int8_t sextet = sextets[static_cast<unsigned char>(c)];
        if (sextet == padding) {
            ++paddingCount;
        } else if (sextet != notInAlphabet) {
            if (paddingCount > 0) {
                return std::nullopt;
            }
            bits = bits << 6 | static_cast<std::uint32_t>(sextet);
            if (++characters == 4) {
                bytes.push_back(static_cast<std::uint8_t>(bits >> 16));
                bytes.push_back(static_cast<std::uint8_t>(bits >> 8));
                bytes.push_back(static_cast<std::uint8_t>(bits));
                bits = 0;
                characters = 0;
            }
        }
    }
    if (!finishGroup(bytes, bits, characters, paddingCount)) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace quessel::yaml

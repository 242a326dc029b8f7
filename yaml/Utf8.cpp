// UTF-8 decoding with one fixed rule for invalid bytes, shared by every place that counts
// characters, so that counts made on the UTF-8 text and on its UTF-16 conversion agree.
#include "yaml/Utf8.hpp"

namespace quessel::yaml::utf8 {
namespace {

constexpr char32_t replacement = 0xFFFD;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

template <typename Sink>
void forEachScalar(std::string_view text, Sink&& sink) {
    std::size_t position = 0;
    while (position < text.size()) {
        const auto byte = static_cast<unsigned char>(text[position]);
        if (byte < 0x80) {
            sink(char32_t{byte});
            ++position;
            continue;
        }
        const Decoded decoded = decode(text, position);
        sink(decoded.scalar);
        position += decoded.length;
    }
}

} // namespace

Decoded decode(std::string_view text, std::size_t position) noexcept {
    const auto lead = static_cast<unsigned char>(text[position]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t scalar = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, scalar = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, scalar = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, scalar = lead & 0x07, minimum = 0x10000;
    } else {
        return {replacement, 1};
    }
    if (text.size() - position < length) {
        return {replacement, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[position + i]);
        if (!isContinuation(byte)) {
            return {replacement, 1};
        }
        scalar = (scalar << 6) | (byte & 0x3F);
    }
    if (scalar < minimum || scalar > 0x10FFFF || (scalar >= 0xD800 && scalar <= 0xDFFF)) {
        return {replacement, 1};
    }
    return {scalar, length};
}

void append(std::string& text, char32_t scalar) {
    if (scalar < 0x80) {
        text += static_cast<char>(scalar);
    } else if (scalar < 0x800) {
        text += static_cast<char>(0xC0 | (scalar >> 6));
        text += static_cast<char>(0x80 | (scalar & 0x3F));
    } else if (scalar < 0x10000) {
        text += static_cast<char>(0xE0 | (scalar >> 12));
        text += static_cast<char>(0x80 | ((scalar >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (scalar & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (scalar >> 18));
        text += static_cast<char>(0x80 | ((scalar >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((scalar >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (scalar & 0x3F));
    }
}

std::u16string toUtf16(std::string_view text) {
    std::u16string result;
    result.reserve(text.size());
    forEachScalar(text, [&result](char32_t scalar) {
        if (scalar >= 0x10000) {
            scalar -= 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (scalar >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (scalar & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(scalar));
        }
    });
    return result;
}

std::string toUtf16LittleEndian(std::string_view text) {
    const std::u16string units = toUtf16(text);
    std::string bytes(units.size() * 2, '\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
    }
    return bytes;
}

std::size_t utf16Length(std::string_view text) noexcept {
    std::size_t length = 0;
    forEachScalar(text, [&length](char32_t scalar) { length += scalar >= 0x10000 ? 2 : 1; });
    return length;
}

std::optional<std::size_t> byteOffsetOfUtf16(std::string_view text, std::size_t offset) noexcept {
    std::size_t units = 0;
    std::size_t position = 0;
    while (units < offset && position < text.size()) {
        const Decoded decoded = decode(text, position);
        units += decoded.scalar >= 0x10000 ? 2 : 1;
        position += decoded.length;
    }
    if (units != offset) {
        return std::nullopt;
    }
    return position;
}

std::string makeValid(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        const Decoded decoded = decode(text, position);
        if (decoded.scalar == replacement && decoded.length == 1) {
            result += "\xEF\xBF\xBD";
        } else {
            result.append(text.substr(position, decoded.length));
        }
        position += decoded.length;
    }
    return result;
}

} // namespace quessel::yaml::utf8

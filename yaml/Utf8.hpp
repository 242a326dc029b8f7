// UTF-8 decoding with one fixed rule for invalid bytes, shared by every place that counts
// characters, so that counts made on the UTF-8 text and on its UTF-16 conversion agree.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quessel::yaml::utf8 {

struct Decoded {
    char32_t scalar;
    std::size_t length; // bytes consumed, at least 1
};

// The scalar starting at `position` (which must be inside the text). A byte that does not start a
// well-formed sequence (stray continuation, overlong form, surrogate, beyond U+10FFFF, truncated)
// decodes as U+FFFD and consumes that one byte.
Decoded decode(std::string_view text, std::size_t position) noexcept;

// Appends the UTF-8 form of a scalar.
void append(std::string& text, char32_t scalar);

// The text as UTF-16 in little-endian byte order, with no byte-order mark.
std::string toUtf16LittleEndian(std::string_view text);

// The same conversion as code units in host order.
std::u16string toUtf16(std::string_view text);

// The number of UTF-16 code units the conversion gives.
std::size_t utf16Length(std::string_view text) noexcept;

// The byte position of the UTF-16 code unit `offset` of the conversion; none when it lies beyond
// the end or between the two halves of a surrogate pair.
std::optional<std::size_t> byteOffsetOfUtf16(std::string_view text, std::size_t offset) noexcept;

// The text with every invalid byte replaced by U+FFFD (unchanged when it is valid).
std::string makeValid(std::string_view text);

} // namespace quessel::yaml::utf8

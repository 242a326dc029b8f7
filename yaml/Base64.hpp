// Decoding the Base64 text of a `!!binary` scalar.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quessel::yaml {

// The bytes of Base64 text in the standard alphabet of RFC 4648. Characters outside the
// alphabet (line breaks, indentation, spaces) are skipped wherever they stand. Padding is
// optional, but when present it must be exactly what completes the last group ("QQ==", "QUI=").
// The text does not decode, and gives nothing, when a single character is left over after the
// last full group (six bits cannot make a byte), when padding appears where no group needs it or
// in the wrong number, or when data follows padding. Empty text gives no bytes.
std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text);

} // namespace quessel::yaml

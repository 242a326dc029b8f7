// Text comparison under Unicode canonical equivalence (NFC), with a fast path for ASCII.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quessel::yaml {

// True when every byte is below 0x80; such texts are their own canonical form.
bool isAscii(std::string_view text) noexcept;

// The NFC form of UTF-8 text. ASCII text and text already in NFC come back unchanged.
std::string canonicalForm(std::string_view text);

// Whether two UTF-8 texts are canonically equivalent (their NFC forms have the same scalars).
bool canonicallyEqual(std::string_view a, std::string_view b);

// Orders two UTF-8 texts by the Unicode scalar values of their NFC forms: negative, zero or
// positive like strcmp. For NFC text that is plain byte order, since UTF-8 preserves the order
// of scalar values.
int compareCanonically(std::string_view a, std::string_view b);

// A hash that is equal for canonically equivalent texts.
std::size_t canonicalHash(std::string_view text);

} // namespace quessel::yaml

// A fast hash for key texts that agrees with canonical equivalence.
#pragma once

#include <cstddef>
#include <string_view>

namespace quessel::yaml {

// Equal for canonically equivalent texts. Keys are mostly short ASCII words: those are hashed
// eight bytes at a time, and only texts beyond ASCII are normalised first.
std::size_t keyTextHash(std::string_view text);

} // namespace quessel::yaml

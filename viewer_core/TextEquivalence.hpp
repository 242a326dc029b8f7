// Canonical equivalence of a text and its edited version, judged only where the two differ.
#pragma once

#include <string_view>

namespace quessel::core {

// Whether two UTF-8 texts are canonically equivalent (equal in NFC), at the cost of comparing
// their bytes plus normalising the stretch between the first and last difference.
bool canonicallyEquivalent(std::string_view a, std::string_view b);

} // namespace quessel::core

// Canonical equivalence of a text and its edited version, judged only where the two differ.
#include "viewer_core/TextEquivalence.hpp"

#include "yaml/CanonicalText.hpp"

#include <algorithm>
#include <cstring>

namespace quessel::core {
namespace {

// Blocks go through memcmp, which is many times faster than a byte loop on long texts.
constexpr std::size_t block = 4096;

std::size_t commonPrefix(std::string_view a, std::string_view b) {
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t length = 0;
    while (length + block <= limit &&
           std::memcmp(a.data() + length, b.data() + length, block) == 0) {
        length += block;
    }
    while (length < limit && a[length] == b[length]) {
        ++length;
    }
    return length;
}

// Of the last `limit` bytes at most.
std::size_t commonSuffix(std::string_view a, std::string_view b, std::size_t limit) {
    const char* endA = a.data() + a.size();
    const char* endB = b.data() + b.size();
    std::size_t length = 0;
    while (length + block <= limit &&
           std::memcmp(endA - length - block, endB - length - block, block) == 0) {
        length += block;
    }
    while (length < limit && endA[-1 - static_cast<std::ptrdiff_t>(length)] ==
                                 endB[-1 - static_cast<std::ptrdiff_t>(length)]) {
        ++length;
    }
    return length;
}

bool isAsciiByte(char byte) {
    return static_cast<unsigned char>(byte) < 0x80;
}

} // namespace

// Canonical equivalence, looking only at the stretch where the texts differ. Every ASCII
// character is a normalisation boundary (nothing composes with it from before, and it has
// combining class 0), so the texts can be cut before any ASCII character they share, and the
// parts compared alone. After one keystroke in a large document the stretch is a line or so.
bool canonicallyEquivalent(std::string_view a, std::string_view b) {
    std::size_t prefix = commonPrefix(a, b);
    if (prefix == a.size() && prefix == b.size()) {
        return true;
    }
    while (prefix > 0 && !isAsciiByte(a[prefix - 1])) {
        --prefix;
    }
    prefix = prefix > 0 ? prefix - 1 : 0;
    const std::size_t suffix = commonSuffix(a, b, std::min(a.size(), b.size()) - prefix);
    std::size_t kept = 0; // of the shared suffix, the part from its first ASCII character on
    for (std::size_t index = a.size() - suffix; index < a.size(); ++index) {
        if (isAsciiByte(a[index])) {
            kept = a.size() - index;
            break;
        }
    }
    return yaml::canonicallyEqual(a.substr(prefix, a.size() - kept - prefix),
                                  b.substr(prefix, b.size() - kept - prefix));
}

} // namespace quessel::core

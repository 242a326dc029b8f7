// A fast hash for key texts that agrees with canonical equivalence.
#include "yaml/KeyHash.hpp"

#include "yaml/CanonicalText.hpp"

#include <cstdint>
#include <cstring>
#include <random>

namespace quessel::yaml {
namespace {

std::size_t mix(std::size_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0xBF58476D1CE4E5B9ULL;
    return hash ^ (hash >> 31);
}

// A seed that differs between runs, so that a document cannot be written to make its keys
// collide and turn the key tables quadratic.
std::size_t processSeed() {
    static const std::size_t seed = [] {
        std::random_device device;
        return (static_cast<std::size_t>(device()) << 32) ^ device() ^ 0x9E3779B97F4A7C15ULL;
    }();
    return seed;
}

std::size_t wordHash(std::string_view text) {
    std::size_t hash = processSeed() ^ text.size();
    std::size_t position = 0;
    for (; position + 8 <= text.size(); position += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + position, 8);
        hash = mix(hash, word);
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, text.data() + position, text.size() - position);
    return mix(hash, tail);
}

} // namespace

std::size_t keyTextHash(std::string_view text) {
    // ASCII text is its own canonical form.
    return isAscii(text) ? wordHash(text) : wordHash(canonicalForm(text));
}

} // namespace quessel::yaml

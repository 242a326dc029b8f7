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

// Up to seven bytes as one word. The two reads may overlap: each text is read the same way
// every time, which is all a hash needs, and a short text costs no byte-by-byte loop.
std::uint64_t tailWord(const char* bytes, std::size_t size) {
    if (size >= 4) {
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        std::memcpy(&first, bytes, 4);
        std::memcpy(&last, bytes + size - 4, 4);
        return first | (std::uint64_t{last} << 32);
    }
    if (size == 0) {
        return 0;
    }
    const auto byte = [bytes](std::size_t i) {
        return std::uint64_t{static_cast<unsigned char>(bytes[i])};
    };
    return byte(0) | (byte(size / 2) << 8) | (byte(size - 1) << 16);
}

struct WordHash {
    std::size_t hash;
    bool ascii;
};

// The hash of the bytes, and whether they were all ASCII: one pass serves both.
WordHash hashWords(std::string_view text) {
    constexpr std::uint64_t highBits = 0x8080808080808080ULL;
    std::size_t hash = processSeed() ^ text.size();
    std::uint64_t seen = 0;
    std::size_t position = 0;
    for (; position + 8 <= text.size(); position += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + position, 8);
        seen |= word;
        hash = mix(hash, word);
    }
    const std::uint64_t tail = tailWord(text.data() + position, text.size() - position);
    return {mix(hash, tail), ((seen | tail) & highBits) == 0};
}

} // namespace

std::size_t keyTextHash(std::string_view text) {
    // ASCII text is its own canonical form; other text is hashed as its canonical form, which
    // may be ASCII again (a Kelvin sign is a K), so both take the same hash of the same bytes.
    const WordHash words = hashWords(text);
    return words.ascii ? words.hash : hashWords(canonicalForm(text)).hash;
}

} // namespace quessel::yaml

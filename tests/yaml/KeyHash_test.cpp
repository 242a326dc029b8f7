// The key-text hash: equal for canonically equivalent texts, and reading every byte of a text.
#include "yaml/KeyHash.hpp"

#include <gtest/gtest.h>

#include <string>

namespace quessel::yaml {
namespace {

TEST(KeyHash, CanonicallyEquivalentTextsHashAlike) {
    // Composed and decomposed é, in short and in long texts, and at a word's edge.
    EXPECT_EQ(keyTextHash("caf\u00e9"), keyTextHash("cafe\u0301"));
    EXPECT_EQ(keyTextHash("a longer caf\u00e9 key"), keyTextHash("a longer cafe\u0301 key"));
    EXPECT_EQ(keyTextHash("1234567\u00e9"), keyTextHash("1234567e\u0301"));
    // A Kelvin sign is a K once normalised: the ASCII text and the other must meet.
    EXPECT_EQ(keyTextHash("\u212a"), keyTextHash("K"));
    EXPECT_EQ(keyTextHash("temperature \u212a"), keyTextHash("temperature K"));
}

// Texts of every length up to three words that differ in one byte, wherever it is.
TEST(KeyHash, EveryByteCounts) {
    for (std::size_t length = 1; length <= 24; ++length) {
        const std::string base(length, 'a');
        for (std::size_t position = 0; position < length; ++position) {
            std::string changed = base;
            changed[position] = 'b';
            EXPECT_NE(keyTextHash(base), keyTextHash(changed)) << length << " " << position;
        }
    }
    EXPECT_NE(keyTextHash(""), keyTextHash(std::string(1, '\0')));
    EXPECT_NE(keyTextHash("ab"), keyTextHash("ba"));
}

} // namespace
} // namespace quessel::yaml

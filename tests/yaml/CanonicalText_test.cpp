// Canonical equivalence: composed and decomposed forms are one text; order follows scalars.
#include "yaml/CanonicalText.hpp"

#include <gtest/gtest.h>

namespace quessel::yaml {
namespace {

const std::string composedE = "\xC3\xA9";     // U+00E9
const std::string decomposedE = "e\xCC\x81";  // U+0065 U+0301

TEST(CanonicalText, AsciiIsDetectedAcrossWordBoundaries) {
    EXPECT_TRUE(isAscii(""));
    EXPECT_TRUE(isAscii("plain ascii text, longer than one word"));
    EXPECT_FALSE(isAscii("seven b" + composedE));
    EXPECT_FALSE(isAscii("0123456789abcdef" + composedE + "tail"));
}

TEST(CanonicalText, ComposedAndDecomposedFormsAreEqual) {
    EXPECT_TRUE(canonicallyEqual("caf" + composedE, "caf" + decomposedE));
    EXPECT_EQ(canonicalForm("caf" + decomposedE), "caf" + composedE);
    EXPECT_EQ(canonicalHash("caf" + composedE), canonicalHash("caf" + decomposedE));
    EXPECT_FALSE(canonicallyEqual("cafe", "caf" + composedE));
}

TEST(CanonicalText, OrderIsByScalarValueOfTheCanonicalForm) {
    EXPECT_LT(compareCanonically("B", "a"), 0);
    EXPECT_LT(compareCanonically("10", "9"), 0);
    EXPECT_EQ(compareCanonically("caf" + composedE, "caf" + decomposedE), 0);
    // U+00E9 sorts after every ASCII letter, whichever form it was written in.
    EXPECT_GT(compareCanonically("caf" + decomposedE, "cafz"), 0);
    // A scalar outside the BMP sorts after U+FFFD by scalar value (not by UTF-16 units).
    EXPECT_GT(compareCanonically("\xF0\x9F\x98\x80", "\xEF\xBF\xBD"), 0);
}

TEST(CanonicalText, TextsWithNulAreComparedWhole) {
    const std::string a("a\0b", 3);
    const std::string b("a\0c", 3);
    EXPECT_FALSE(canonicallyEqual(a, b));
    EXPECT_LT(compareCanonically(a, b), 0);
}

} // namespace
} // namespace quessel::yaml

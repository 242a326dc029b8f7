// Blank text: Unicode white space and line breaks only, the test for an empty document.
#include "page/BlankText.hpp"

#include <gtest/gtest.h>

namespace quessel::page {
namespace {

TEST(BlankText, EmptyAndAsciiWhitespaceAreBlank) {
    EXPECT_TRUE(isBlankText(""));
    EXPECT_TRUE(isBlankText(" \t\r\n\v\f"));
}

TEST(BlankText, UnicodeSpacesAndLineBreaksAreBlank) {
    // NEL, NO-BREAK SPACE, OGHAM SPACE MARK, EN QUAD, HAIR SPACE, LINE SEPARATOR, PARAGRAPH
    // SEPARATOR, NARROW NO-BREAK SPACE, MEDIUM MATHEMATICAL SPACE, IDEOGRAPHIC SPACE.
    EXPECT_TRUE(isBlankText("\xC2\x85\xC2\xA0\xE1\x9A\x80\xE2\x80\x80\xE2\x80\x8A\xE2\x80\xA8"
                            "\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\x9F\xE3\x80\x80"));
}

TEST(BlankText, VisibleTextAndFormatCharactersAreNot) {
    EXPECT_FALSE(isBlankText("  # only a comment\n"));
    EXPECT_FALSE(isBlankText("\xE2\x80\x8B"));       // ZERO WIDTH SPACE is a format character
    EXPECT_FALSE(isBlankText("\xEF\xBB\xBF"));       // BYTE ORDER MARK
    EXPECT_FALSE(isBlankText(std::string(1, '\0'))); // NUL
}

TEST(BlankText, InvalidUtf8CountsAsText) {
    EXPECT_FALSE(isBlankText("\xFF"));
    EXPECT_FALSE(isBlankText("\xC2"));       // truncated NO-BREAK SPACE
    EXPECT_FALSE(isBlankText(" \xE2\x80 ")); // truncated in the middle
    EXPECT_FALSE(isBlankText("\x80"));       // a lone continuation byte
}

} // namespace
} // namespace quessel::page

// The script texts sent to the page, in particular search texts as string literals.
#include "app/web/PageCalls.hpp"

#include <gtest/gtest.h>

namespace quessel::app::web {
namespace {

TEST(PageCalls, EscapesApostropheAndBackslashAsBefore) {
    EXPECT_EQ(highlightMatchesCall("it's"), R"(highlightMatches('it\'s'))");
    EXPECT_EQ(highlightMatchesCall(R"(C:\dir)"), R"(highlightMatches('C:\\dir'))");
    // The backslash is doubled before the apostrophe gains its own.
    EXPECT_EQ(highlightMatchesCall(R"(\')"), R"(highlightMatches('\\\''))");
}

TEST(PageCalls, EscapesEveryLineTerminatorAStringLiteralCannotHold) {
    EXPECT_EQ(singleQuotedLiteralBody("a\nb\rc"), R"(a\nb\rc)");
    EXPECT_EQ(singleQuotedLiteralBody("x\u2028y\u2029z"), R"(x\u2028y\u2029z)");
}

TEST(PageCalls, LeavesEveryOtherCharacterAlone) {
    EXPECT_EQ(singleQuotedLiteralBody("\"<tab>\t\u00e9\u2027\u202a"),
              "\"<tab>\t\u00e9\u2027\u202a");
    EXPECT_EQ(singleQuotedLiteralBody(""), "");
}

TEST(PageCalls, WritesNavigationAndFontSizeCalls) {
    EXPECT_EQ(navigateMatchCall(true), "navigateMatch(true)");
    EXPECT_EQ(navigateMatchCall(false), "navigateMatch(false)");
    EXPECT_EQ(fontSizeAssignment(16), "document.body.style.fontSize = '16px'");
}

} // namespace
} // namespace quessel::app::web

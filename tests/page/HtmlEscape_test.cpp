// Escaping: the five characters become entities, everything else passes through untouched.
#include "page/HtmlEscape.hpp"

#include <gtest/gtest.h>

namespace quessel::page {
namespace {

TEST(HtmlEscape, ReplacesTheFiveMarkupCharacters) {
    EXPECT_EQ(escapeHtml(R"(<b>"x" & 'y'</b>)"),
              "&lt;b&gt;&quot;x&quot; &amp; &#39;y&#39;&lt;/b&gt;");
}

TEST(HtmlEscape, EntitiesAlreadyInTheTextAreEscapedOnceNotTwice) {
    EXPECT_EQ(escapeHtml("&amp; &lt;"), "&amp;amp; &amp;lt;");
    EXPECT_EQ(escapeHtml("&&"), "&amp;&amp;");
}

TEST(HtmlEscape, OtherTextIncludingWhitespaceAndUnicodeIsUnchanged) {
    const std::string text = "line one\n\tline two\r\n caf\xC3\xA9 \xE2\x96\xBC \xF0\x9F\x98\x80";
    EXPECT_EQ(escapeHtml(text), text);
    EXPECT_EQ(escapeHtml(""), "");
}

TEST(HtmlEscape, NulBytesAndMarkupAtTheEdgesSurvive) {
    const std::string text("<\0>", 3);
    EXPECT_EQ(escapeHtml(text), std::string("&lt;\0&gt;", 9));
    EXPECT_EQ(escapeHtml("'"), "&#39;");
}

TEST(HtmlEscape, AppendsWithoutTouchingWhatIsAlreadyThere) {
    std::string out = "<kept>";
    appendEscaped(out, "a<b");
    EXPECT_EQ(out, "<kept>a&lt;b");
}

} // namespace
} // namespace quessel::page

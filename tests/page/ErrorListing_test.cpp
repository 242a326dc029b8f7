// The banner and error line read from a failure, and the numbered raw listing.
#include "page/ErrorListing.hpp"

#include <gtest/gtest.h>

namespace quessel::page {
namespace {

std::string line(int number, std::string_view text, bool marked = false) {
    return std::string(marked ? R"(<div class="raw-line error-line">)"
                              : R"(<div class="raw-line">)") +
           R"(<span class="line-number">)" + std::to_string(number) +
           R"(</span><span class="line-content">)" + std::string(text) + "</span></div>";
}

std::string listing(const std::string& lines) {
    return R"(<div class="raw-content">)" + lines + "</div>";
}

TEST(ErrorLine, IsTheNumberBeforeTheFirstColon) {
    EXPECT_EQ(errorLineFromDescription("2:5: error: parser: did not find expected key"), 2);
    EXPECT_EQ(errorLineFromDescription("3:7: error: ..."), 3);
    EXPECT_EQ(errorLineFromDescription("12:"), 12);
    EXPECT_EQ(errorLineFromDescription("007:1: error"), 7);
    EXPECT_EQ(errorLineFromDescription("0:0: error"), 0);
}

TEST(ErrorLine, IsAbsentUnlessTheTextStartsWithDigitsAndAColon) {
    EXPECT_EQ(errorLineFromDescription("error: no document"), std::nullopt);
    EXPECT_EQ(errorLineFromDescription(":5: error"), std::nullopt);
    EXPECT_EQ(errorLineFromDescription("3"), std::nullopt);
    EXPECT_EQ(errorLineFromDescription(" 3:1: error"), std::nullopt);
    EXPECT_EQ(errorLineFromDescription("-3:1: error"), std::nullopt);
    EXPECT_EQ(errorLineFromDescription("x\n3:1: error"), std::nullopt); // anchored at the start
    EXPECT_EQ(errorLineFromDescription(""), std::nullopt);
}

TEST(ErrorLine, IsAbsentForNumbersThatCannotBeParsed) {
    EXPECT_EQ(errorLineFromDescription("9223372036854775807:1"), 9223372036854775807);
    EXPECT_EQ(errorLineFromDescription("9223372036854775808:1"), std::nullopt);
    EXPECT_EQ(errorLineFromDescription("\xD9\xA3:1: error"), std::nullopt); // ARABIC-INDIC THREE
    EXPECT_EQ(errorLineFromDescription("3\xD9\xA3:1: error"), std::nullopt);
}

TEST(ErrorBanner, NamesTheLineWhenTheDescriptionDoes) {
    const ErrorBanner banner = bannerForYamlError("2:5: error: parser: ...");
    EXPECT_EQ(banner.message, "Syntax error on line 2");
    EXPECT_EQ(banner.errorLine, 2);
}

TEST(ErrorBanner, FallsBackToGeneralMessages) {
    const ErrorBanner yamlError = bannerForYamlError("error: something without a position");
    EXPECT_EQ(yamlError.message, "Syntax error in YAML");
    EXPECT_EQ(yamlError.errorLine, std::nullopt);
    const ErrorBanner other = bannerForOtherFailure();
    EXPECT_EQ(other.message, "Unable to parse YAML");
    EXPECT_EQ(other.errorLine, std::nullopt);
}

TEST(RawListing, SplitsAtLineFeedsAndKeepsATrailingEmptyLine) {
    EXPECT_EQ(renderRawWithLineNumbers("a: 1\n", std::nullopt),
              listing(line(1, "a: 1") + line(2, "&nbsp;")));
    EXPECT_EQ(renderRawWithLineNumbers("", std::nullopt), listing(line(1, "&nbsp;")));
}

TEST(RawListing, CarriageReturnsStayOnTheirLines) {
    EXPECT_EQ(renderRawWithLineNumbers("a\r\nb\r\n", std::nullopt),
              listing(line(1, "a\r") + line(2, "b\r") + line(3, "&nbsp;")));
    EXPECT_EQ(renderRawWithLineNumbers("a\rb", std::nullopt), listing(line(1, "a\rb")));
}

TEST(RawListing, EveryEmptyLineGetsItsNumberAndANonBreakingSpace) {
    EXPECT_EQ(renderRawWithLineNumbers("\n\n\nx", std::nullopt),
              listing(line(1, "&nbsp;") + line(2, "&nbsp;") + line(3, "&nbsp;") + line(4, "x")));
}

TEST(RawListing, EscapesLineTextAndKeepsItsSpaces) {
    EXPECT_EQ(renderRawWithLineNumbers(R"(x: <y> & "z")", std::nullopt),
              listing(line(1, "x: &lt;y&gt; &amp; &quot;z&quot;")));
    EXPECT_EQ(renderRawWithLineNumbers("  'a'\t", std::nullopt),
              listing(line(1, "  &#39;a&#39;\t")));
}

TEST(RawListing, MarksOnlyTheErrorLine) {
    EXPECT_EQ(renderRawWithLineNumbers("a\nb\nc", 2),
              listing(line(1, "a") + line(2, "b", true) + line(3, "c")));
}

TEST(RawListing, AnErrorLineOutsideTheTextMarksNothing) {
    const std::string plain = renderRawWithLineNumbers("a\nb", std::nullopt);
    EXPECT_EQ(renderRawWithLineNumbers("a\nb", 0), plain);
    EXPECT_EQ(renderRawWithLineNumbers("a\nb", -1), plain);
    EXPECT_EQ(renderRawWithLineNumbers("a\nb", 3), plain);
    EXPECT_EQ(plain.find("error-line"), std::string::npos);
}

} // namespace
} // namespace quessel::page

// The whole page as a string: piece order, whitespace, palette, style rules and script.
#include "page/MarkupPage.hpp"
#include "page/PageProtocol.hpp"
#include "page/PageResources.hpp"
#include "page/PageTemplate.hpp"
#include "tests/page/support/ValueBuilders.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace quessel::page {
namespace {

using test::mappingOf;

std::string pageOf(const PageContent& content, Appearance appearance = Appearance::light,
                   int fontSize = 14) {
    return writeMarkupPage(content, appearance, fontSize);
}

std::string head(const std::string& page) {
    return page.substr(0, page.find("</style>"));
}

// What follows the style sheet, with the script elided: the part whose whitespace is exact.
std::string bodyOf(const std::string& page) {
    std::string body = page.substr(page.find("</style>"));
    const std::size_t script = body.find("<script>") + 8;
    return body.replace(script, body.find("</script>") - script, "SCRIPT");
}

TEST(MarkupPageStructure, PiecesFollowEachOtherWithExactlyThisWhitespace) {
    const yaml::YamlValue value = "hello";
    EXPECT_EQ(bodyOf(pageOf({"hello", &value, std::nullopt})),
              "</style>\n</head>\n<body>\n    \n    <div class=\"yaml-content\">"
              "<span class=\"string\">hello</span></div>\n\n    <script>SCRIPT</script>\n"
              "</body>\n</html>");
}

TEST(MarkupPageStructure, AFailureGivesOneBannerBeforeTheListing) {
    const std::string page = pageOf({"a: [", nullptr, bannerForYamlError("1:4: error: x")});
    EXPECT_EQ(bodyOf(page),
              "</style>\n</head>\n<body>\n    <div class=\"error-banner\">Syntax error on line "
              "1</div>\n    <div class=\"yaml-content\"><div class=\"raw-content\"><div "
              "class=\"raw-line error-line\"><span class=\"line-number\">1</span><span "
              "class=\"line-content\">a: [</span></div></div></div>\n\n    "
              "<script>SCRIPT</script>\n</body>\n</html>");
}

TEST(MarkupPageStructure, StartsWithTheDoctypeAndEndsWithoutALineBreak) {
    const std::string page = pageOf({"", nullptr, std::nullopt});
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"UTF-8\">\n<style>\n", 0),
              0U);
    EXPECT_TRUE(page.ends_with("</script>\n</body>\n</html>"));
    EXPECT_NE(page.find("<script>" +
                        scriptOfParts({sortedArraysScript, searchMarksScript, matchSearchScript,
                                       errorColumnsScript, rowTreeScript, treeCursorScript,
                                       cursorPathScript, cursorKeysScript, viewStateScript,
                                       markupRowsScript, markupPageScript}) +
                        "</script>"),
              std::string::npos);
}

TEST(MarkupPageContent, TextWithoutADocumentIsEmptyOrNull) {
    const auto content = [](std::string_view text) {
        const std::string page = pageOf({text, nullptr, std::nullopt});
        const std::size_t start = page.find("<div class=\"yaml-content\">") + 26;
        return page.substr(start, page.find("</div>", start) - start);
    };
    EXPECT_EQ(content(""), "<span class=\"null\">Empty document</span>");
    EXPECT_EQ(content(" \t\n\r\n"), "<span class=\"null\">Empty document</span>");
    EXPECT_EQ(content("\xE2\x80\xA8\xC2\xA0"), "<span class=\"null\">Empty document</span>");
    EXPECT_EQ(content("# nothing here"), "<span class=\"null\">null</span>");
}

TEST(MarkupPageContent, ABannerMessageIsEscaped) {
    std::string out;
    appendErrorBanner(out, "<b>'&'</b>");
    EXPECT_EQ(out, "<div class=\"error-banner\">&lt;b&gt;&#39;&amp;&#39;&lt;/b&gt;</div>");
}

TEST(MarkupPagePalette, LightAndDarkValuesInTableOrder) {
    const std::string expectedLight =
        ":root {\n--bg-color: #ffffff;\n--text-color: #333333;\n--key-color: #881391;\n"
        "--string-color: #1a1aa6;\n--number-color: #1c00cf;\n--boolean-color: #0d22aa;\n"
        "--null-color: #808080;\n--bracket-color: #666666;\n"
        "--highlight-bg: rgba(255, 235, 59, 0.5);\n"
        "--current-highlight-bg: rgba(255, 193, 7, 0.85);\n--error-bg: #f8d7da;\n"
        "--error-text: #721c24;\n--toggle-color: #999999;\n--collapsed-bg: #f0f0f0;\n"
        "--cursor-bg: rgba(26, 115, 232, 0.12);\n--cursor-edge: #1a73e8;\n}\n";
    const std::string expectedDark =
        ":root {\n--bg-color: #1e1e1e;\n--text-color: #d4d4d4;\n--key-color: #c586c0;\n"
        "--string-color: #ce9178;\n--number-color: #b5cea8;\n--boolean-color: #569cd6;\n"
        "--null-color: #808080;\n--bracket-color: #808080;\n"
        "--highlight-bg: rgba(255, 235, 59, 0.4);\n"
        "--current-highlight-bg: rgba(255, 193, 7, 0.7);\n--error-bg: #5a1d1d;\n"
        "--error-text: #f8d7da;\n--toggle-color: #6e6e6e;\n--collapsed-bg: #2d2d2d;\n"
        "--cursor-bg: rgba(77, 163, 255, 0.2);\n--cursor-edge: #4da3ff;\n}\n";
    EXPECT_NE(head(pageOf({}, Appearance::light)).find(expectedLight), std::string::npos);
    EXPECT_NE(head(pageOf({}, Appearance::dark)).find(expectedDark), std::string::npos);
}

TEST(MarkupPageStyles, FontSizeIsWrittenInPixelsAndFixedSizesStay) {
    const std::string styles = head(pageOf({}, Appearance::light, 23));
    EXPECT_NE(styles.find("Monaco, monospace; font-size: 23px; line-height: 1.35;"),
              std::string::npos);
    EXPECT_EQ(styles.find("var(--page-font-size)"), std::string::npos);
    EXPECT_NE(styles.find("sans-serif; font-size: 14px; }"), std::string::npos);
}

// `count` listing lines: count - 1 line feeds.
std::string textOfLines(std::size_t count) {
    std::string text;
    for (std::size_t line = 1; line < count; ++line) {
        text += "x\n";
    }
    return text + "x";
}

TEST(MarkupPageLineLimit, AListingIsWrittenUpToTheLimitAndGivenUpAboveIt) {
    const auto within = [](const std::string& text) {
        return writeMarkupPageWithin({text, nullptr, bannerForYamlError("1:1: error: x")},
                                     Appearance::light, 14, 1000);
    };
    const std::string text = textOfLines(1000);
    const std::optional<std::string> page = within(text);
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(*page, pageOf({text, nullptr, bannerForYamlError("1:1: error: x")}));
    EXPECT_EQ(within(textOfLines(1001)), std::nullopt);
    // A final line feed starts one more (empty) line.
    EXPECT_EQ(within(text + "\n"), std::nullopt);
    EXPECT_TRUE(within(textOfLines(999) + "\n").has_value());
}

TEST(MarkupPageLineLimit, ATreeIsWrittenUpToTheLimitAndGivenUpAboveIt) {
    // 10 collapsible lines holding 99 lines each, then one more line.
    const yaml::YamlValue thousand = yaml::Sequence(10, yaml::Sequence(99, std::int64_t{1}));
    yaml::Sequence more(10, yaml::Sequence(99, std::int64_t{1}));
    more.back().storage = yaml::Sequence(100, std::int64_t{1});
    const yaml::YamlValue thousandAndOne = std::move(more);
    const std::optional<std::string> page =
        writeMarkupPageWithin({"", &thousand, std::nullopt}, Appearance::dark, 20, 1000);
    ASSERT_TRUE(page.has_value());
    EXPECT_NE(page->find("--bg-color: #1e1e1e;"), std::string::npos);
    EXPECT_NE(page->find("font-size: 20px;"), std::string::npos);
    EXPECT_TRUE(page->ends_with("</script>\n</body>\n</html>"));
    EXPECT_EQ(
        writeMarkupPageWithin({"", &thousandAndOne, std::nullopt}, Appearance::dark, 20, 1000),
        std::nullopt);
}

TEST(MarkupPageLineLimit, ScalarsAndTextsWithoutADocumentAreNoLines) {
    const yaml::YamlValue scalar = "just text";
    for (const PageContent& content :
         {PageContent{"just text", &scalar, std::nullopt}, PageContent{"", nullptr, std::nullopt},
          PageContent{"# a comment", nullptr, std::nullopt}}) {
        EXPECT_TRUE(writeMarkupPageWithin(content, Appearance::light, 14, 0).has_value())
            << content.text;
    }
}

TEST(PageScripts, NoneCanEndItsElementAndBothPagesPublishTheHostsFunctions) {
    std::string protocol;
    protocol::appendProtocolScript(protocol);
    for (const std::string_view script : {std::string_view(protocol),
                                          searchMarksScript,
                                          matchSearchScript,
                                          markupPageScript,
                                          sortedArraysScript,
                                          pageDataScript,
                                          rowIndexScript,
                                          rowTreeScript,
                                          scrollGeometryScript,
                                          rowWriterScript,
                                          rowPainterScript,
                                          rowSelectionScript,
                                          unitCaseScript,
                                          pieceSearchScript,
                                          matchEnumeratorScript,
                                          rowSearchScript,
                                          virtualMatchesScript,
                                          virtualPageScript,
                                          treeCursorScript,
                                          cursorPathScript,
                                          cursorKeysScript,
                                          viewStateScript,
                                          markupRowsScript,
                                          virtualRowsScript}) {
        std::string lower(script);
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_EQ(lower.find("</script"), std::string::npos) << script.substr(0, 80);
        EXPECT_EQ(lower.find("<!--"), std::string::npos) << script.substr(0, 80);
    }
    for (const char* name :
         {"window.toggle =", "window.highlightMatches =", "window.navigateMatch ="}) {
        EXPECT_NE(markupPageScript.find(name), std::string::npos) << name;
        EXPECT_NE(virtualPageScript.find(name), std::string::npos) << name;
    }
    // Both pages publish the cursor's functions through the one module they share.
    EXPECT_NE(markupPageScript.find("TreeCursor.publish("), std::string::npos);
    EXPECT_NE(virtualPageScript.find("TreeCursor.publish("), std::string::npos);
}

} // namespace
} // namespace quessel::page

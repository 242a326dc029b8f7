// Page generation from document text: loading, the three kinds of body, appearance and size.
#include "page/PageGenerator.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace quessel::page {
namespace {

std::string generate(std::string_view text, int fontSize = 14,
                     Appearance appearance = Appearance::light) {
    return PageGenerator([appearance] { return appearance; }).generateHTML(text, fontSize);
}

// What the content container holds, with the banner (if any) before it.
std::string bodyOf(const std::string& page) {
    const std::size_t start = page.find("<body>\n") + 7;
    return page.substr(start, page.find("\n\n    <script>") - start);
}

std::size_t occurrences(const std::string& text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(PageGeneratorBody, TextWithoutADocumentSaysSo) {
    // Tabs included, although libyaml refuses a tab that starts a line.
    for (const char* blank : {"", "   ", " \n\r\n  \n", "\t", "\t \n\t\r\n"}) {
        EXPECT_EQ(bodyOf(generate(blank)),
                  "    \n    <div class=\"yaml-content\"><span class=\"null\">Empty "
                  "document</span></div>")
            << '"' << blank << '"';
    }
    EXPECT_EQ(bodyOf(generate("# nothing here\n")),
              "    \n    <div class=\"yaml-content\"><span class=\"null\">null</span></div>");
}

TEST(PageGeneratorBody, ANullDocumentIsTheNullSpan) {
    for (const char* text : {"~", "null", "---\n"}) {
        EXPECT_EQ(bodyOf(generate(text)),
                  "    \n    <div class=\"yaml-content\"><span class=\"null\">null</span></div>")
            << text;
    }
}

TEST(PageGeneratorBody, ALoadedValueIsRenderedAsATree) {
    const std::string body = bodyOf(generate("b: 1\na: [x, y]\nq: \"42\"\n"));
    EXPECT_EQ(occurrences(body, "class=\"toggle\""), 1U);
    EXPECT_NE(body.find("<span class=\"string\">42</span>"), std::string::npos);
    EXPECT_LT(body.find(">a</span>"), body.find(">b</span>"));
    EXPECT_EQ(body.find("error-banner"), std::string::npos);
}

TEST(PageGeneratorBody, InvalidTextGivesOneBannerBeforeTheListing) {
    const std::string body = bodyOf(generate("good: 1\nbad: [1, 2\nlast: 3\n"));
    ASSERT_EQ(occurrences(body, "<div class=\"error-banner\">"), 1U);
    EXPECT_TRUE(body.starts_with("    <div class=\"error-banner\">Syntax error on line "));
    EXPECT_LT(body.find("error-banner"), body.find("yaml-content"));
    EXPECT_NE(body.find("<div class=\"yaml-content\"><div class=\"raw-content\">"),
              std::string::npos);
    EXPECT_EQ(occurrences(body, "class=\"raw-line"), 4U);
    // The marked line is the one the banner names.
    const std::size_t number = body.find("line ") + 5;
    const std::string line = body.substr(number, body.find('<', number) - number);
    EXPECT_NE(body.find("<div class=\"raw-line error-line\"><span class=\"line-number\">" + line +
                        "</span>"),
              std::string::npos);
    EXPECT_EQ(occurrences(body, "error-line"), 1U);
}

TEST(PageGeneratorBody, MultiLineStringsStayOneSpanInTheTreeButOneLineEachInTheListing) {
    const std::string tree = bodyOf(generate("text: |\n  one\n  two\n"));
    EXPECT_NE(tree.find("<span class=\"string\">one\ntwo\n</span>"), std::string::npos);
    const std::string listing = bodyOf(generate("text: |\n  one\n  two\n[\n"));
    EXPECT_NE(listing.find("<span class=\"line-content\">  one</span>"), std::string::npos);
    EXPECT_NE(listing.find("<span class=\"line-content\">  two</span>"), std::string::npos);
}

TEST(PageGeneratorBody, NulCharactersDoNotCutThePage) {
    const std::string page = generate("a: \"x\\0y\"\n");
    EXPECT_NE(page.find(std::string("x\0y", 3)), std::string::npos);
    EXPECT_TRUE(page.ends_with("</html>"));
}

TEST(PageGeneratorSafety, DocumentTextNeverBecomesMarkup) {
    const std::string payload = "\"<script>alert(1)</script><img src=x onerror=alert(2)>\"";
    for (const std::string& text :
         {"k: " + payload + "\n", payload + ": v\n", "- " + payload + "\n- [\n"}) {
        const std::string page = generate(text);
        EXPECT_EQ(occurrences(page, "<script"), 1U) << text;
        EXPECT_EQ(occurrences(page, "</script"), 1U) << text;
        EXPECT_EQ(occurrences(page, "<img"), 0U) << text;
        EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos) << text;
    }
}

TEST(PageGeneratorAppearance, ThePaletteFollowsTheSourceAskedOncePerPage) {
    int asked = 0;
    Appearance appearance = Appearance::dark;
    const PageGenerator generator([&] {
        ++asked;
        return appearance;
    });
    const std::string dark = generator.generateHTML("a: 1", 14);
    EXPECT_EQ(asked, 1);
    EXPECT_NE(dark.find("--bg-color: #1e1e1e;"), std::string::npos);
    EXPECT_NE(dark.find("--key-color: #c586c0;"), std::string::npos);
    appearance = Appearance::light;
    const std::string light = generator.generateHTML("a: [", 14);
    EXPECT_EQ(asked, 2);
    EXPECT_NE(light.find("--bg-color: #ffffff;"), std::string::npos);
    EXPECT_NE(light.find("--key-color: #881391;"), std::string::npos);
}

TEST(PageGeneratorAppearance, NoSourceMeansLight) {
    EXPECT_NE(PageGenerator(nullptr).generateHTML("", 14).find("--bg-color: #ffffff;"),
              std::string::npos);
}

// The virtualised page is recognised by its container.
bool isVirtual(const std::string& page) {
    return page.find(R"(id="virtual-content")") != std::string::npos;
}

std::string generateAs(PageKind kind, std::string_view text) {
    return PageGenerator([] { return Appearance::light; }, kind).generateHTML(text, 14);
}

// `count` sequence elements, the first `nested` of them inside one mapping entry.
std::string documentOfLines(std::size_t count, std::size_t nested = 0) {
    std::string text = nested > 0 ? "- key:\n" : "";
    for (std::size_t line = nested > 0 ? 2 : 0; line < count; ++line) {
        text += line < nested ? "    - x\n" : "- x\n";
    }
    return text;
}

TEST(PageGeneratorKind, AutomaticWritesMarkupUpToTheThresholdAndVirtualisesAbove) {
    static_assert(virtualPageThreshold == 1000);
    const std::string flat = documentOfLines(1000);
    ASSERT_EQ(occurrences(generate(flat), R"(<div class="line")"), 1000U);
    EXPECT_FALSE(isVirtual(generateAs(PageKind::automatic, flat)));
    EXPECT_TRUE(isVirtual(generateAs(PageKind::automatic, documentOfLines(1001))));
    // Lines nested in a mapping entry inside the first element count as well.
    const std::string nested = documentOfLines(1000, 600);
    ASSERT_EQ(occurrences(generate(nested), R"(<div class="line")"), 1000U);
    EXPECT_FALSE(isVirtual(generateAs(PageKind::automatic, nested)));
    EXPECT_TRUE(isVirtual(generateAs(PageKind::automatic, documentOfLines(1001, 600))));
}

TEST(PageGeneratorKind, TheListingOfAnInvalidDocumentCountsItsLines) {
    // 999 line feeds: 1,000 listed lines, the last one the unclosed bracket.
    const std::string thousand = std::string(998, '\n') + "a: [\n";
    const std::string page = generateAs(PageKind::automatic, thousand);
    ASSERT_NE(page.find("error-banner"), std::string::npos);
    EXPECT_EQ(occurrences(page, R"(<div class="raw-line)"), 1000U);
    EXPECT_FALSE(isVirtual(page));
    const std::string more = generateAs(PageKind::automatic, "\n" + thousand);
    EXPECT_TRUE(isVirtual(more));
    EXPECT_NE(more.find("error-banner"), std::string::npos);
}

TEST(PageGeneratorKind, AScalarOrATextWithoutADocumentIsAlwaysMarkup) {
    for (const PageKind kind : {PageKind::markup, PageKind::virtualised, PageKind::automatic}) {
        for (const char* text : {"", "  \n", "# only a comment\n", "hello", "[]", "{}"}) {
            EXPECT_FALSE(isVirtual(generateAs(kind, text))) << text;
        }
    }
}

TEST(PageGeneratorKind, MarkupAndVirtualisedIgnoreTheThreshold) {
    const std::string large = documentOfLines(3000);
    EXPECT_FALSE(isVirtual(generateAs(PageKind::markup, large)));
    EXPECT_FALSE(isVirtual(generateAs(PageKind::markup, "\n" + large + "[")));
    EXPECT_FALSE(isVirtual(PageGenerator(nullptr).generateHTML(large, 14))) << "the default";
    EXPECT_TRUE(isVirtual(generateAs(PageKind::virtualised, "- one\n- two\n")));
    EXPECT_TRUE(isVirtual(generateAs(PageKind::virtualised, "a: [\n")));
}

TEST(PageGeneratorFontSize, OnlyTheBodyFollowsIt) {
    const std::string page = generate("a: [", 30);
    EXPECT_NE(page.find("Monaco, monospace; font-size: 30px; line-height: 1.35;"),
              std::string::npos);
    EXPECT_NE(page.find("BlinkMacSystemFont, sans-serif; font-size: 14px; }"), std::string::npos);
    EXPECT_NE(generate("", 14).find("monospace; font-size: 14px;"), std::string::npos);
}

} // namespace
} // namespace quessel::page

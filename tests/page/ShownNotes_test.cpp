// What the tree shows beside values on both pages: notes (tags, anchors, aliases), merged keys,
// and the documents of a stream under headers.
#include "page/PageGenerator.hpp"
#include "page/ShownNotes.hpp"

#include <gtest/gtest.h>

namespace quessel::page {
namespace {

std::string markupOf(std::string_view text) {
    const std::string page = PageGenerator({}, PageKind::markup).generateHTML(text, 14);
    const std::size_t start = page.find("<div class=\"yaml-content\">");
    return page.substr(start, page.find("\n\n    <script>") - start);
}

std::string dataOf(std::string_view text) {
    GeneratedPage page = PageGenerator({}, PageKind::virtualised).generate(text, 14);
    return page.data.value_or("");
}

// The markup with the node ids taken out, which differ on every rendering.
std::string withoutIds(std::string markup) {
    for (const std::string_view attribute : {" id=\"", " onclick=\""}) {
        for (std::size_t at = markup.find(attribute); at != std::string::npos;
             at = markup.find(attribute, at)) {
            markup.erase(at, markup.find('"', at + attribute.size()) + 1 - at);
        }
    }
    return markup;
}

TEST(ShownNotes, TagsAnchorsAndAliasesStandBeforeInlineValues) {
    EXPECT_EQ(withoutIds(markupOf("a: !Ref Bucket\nb: &x 1\nc: *x\nd: !!str plain\n")),
              "<div class=\"yaml-content\">"
              "<div class=\"line\" style=\"padding-left:16px\"><span class=\"key\">a</span>: "
              "<span class=\"tag\">!Ref</span> <span class=\"string\">Bucket</span></div>"
              "<div class=\"line\" style=\"padding-left:16px\"><span class=\"key\">b</span>: "
              "<span class=\"anchor\">&amp;x</span> <span class=\"number\">1</span></div>"
              "<div class=\"line\" style=\"padding-left:16px\"><span class=\"key\">c</span>: "
              "<span class=\"alias\">*x</span> <span class=\"number\">1</span></div>"
              "<div class=\"line\" style=\"padding-left:16px\"><span class=\"key\">d</span>: "
              "<span class=\"string\">plain</span></div></div>");
}

TEST(ShownNotes, CollectionsShowThemOnTheirEntrysLineAndKeysBeforeTheKey) {
    const std::string tagged = withoutIds(markupOf("!k &kk key: &m !include {x: 1}\n"));
    EXPECT_NE(tagged.find("<span class=\"anchor\">&amp;kk</span> <span class=\"tag\">!k</span> "
                          "<span class=\"key\">key</span>: <span class=\"anchor\">&amp;m</span> "
                          "<span class=\"tag\">!include</span><span class=\"collapsed-preview\">"
                          "1 items</span>"),
              std::string::npos)
        << tagged;
    const std::string element = withoutIds(markupOf("- &s [1]\n- *s\n"));
    EXPECT_NE(element.find("<span class=\"bracket\">-</span> <span class=\"anchor\">&amp;s</span>"
                           "<span class=\"collapsed-preview\">"),
              std::string::npos)
        << element;
}

TEST(ShownNotes, MergedKeysAreMarkedWithTheirSourceInTheTooltip) {
    const std::string markup =
        withoutIds(markupOf("base: &base {a: 1}\nuse: {<<: [*base, {b: 2}], c: 3}\n"));
    EXPECT_NE(markup.find("<span class=\"key merged\" title=\"Merged from &amp;base\">a</span>"),
              std::string::npos);
    EXPECT_NE(markup.find("<span class=\"key merged\" title=\"Merged\">b</span>"),
              std::string::npos);
    EXPECT_NE(markup.find("<span class=\"key\">c</span>"), std::string::npos);
}

TEST(ShownNotes, TheVirtualisedPageListsOnlyTheRowsWithLayoutsOfTheirOwn) {
    const std::string data = dataOf("a: 1\nb: !Ref x\nc: {<<: {d: 1}}\n");
    EXPECT_NE(data.find(R"("layouts":[1,"K t V","",3,"M V","Merged"])"), std::string::npos) << data;
    EXPECT_EQ(dataOf("a: 1\nb: [2]\n").find("layouts"), std::string::npos);
}

TEST(ShownNotes, AStreamOfOneDocumentIsThatDocumentsPage) {
    EXPECT_EQ(withoutIds(markupOf("---\na: 1\n...\n")), withoutIds(markupOf("a: 1\n")));
}

TEST(ShownNotes, SeveralDocumentsEachGetAHeaderAndTheirTreeOneLevelIn) {
    EXPECT_EQ(withoutIds(markupOf("a: 1\n---\n--- text\n")),
              "<div class=\"yaml-content\">"
              "<div class=\"line\" style=\"padding-left:0px\"><span class=\"toggle\">▼</span>"
              "<span class=\"document\">Document 1</span><span class=\"collapsed-preview\">1 "
              "items</span><span class=\"content\"><div class=\"line\" "
              "style=\"padding-left:32px\"><span class=\"key\">a</span>: <span "
              "class=\"number\">1</span></div></span></div>"
              "<div class=\"line\" style=\"padding-left:16px\"><span class=\"document\">Document "
              "2</span> <span class=\"null\">null</span></div>"
              "<div class=\"line\" style=\"padding-left:16px\"><span class=\"document\">Document "
              "3</span> <span class=\"string\">text</span></div></div>");
    const std::string data = dataOf("a: 1\n---\n- x\n");
    EXPECT_NE(data.find(R"("layouts":[0,"TDP","",2,"TDP",""])"), std::string::npos) << data;
}

TEST(ShownNotes, HeadersCountTowardsTheMarkupPagesLineLimit) {
    std::string stream;
    for (int i = 0; i < 600; ++i) {
        stream += "--- " + std::to_string(i) + "\n";
    }
    const PageGenerator automatic({}, PageKind::automatic);
    EXPECT_FALSE(automatic.generate(stream, 14).data.has_value());
    stream += stream; // 1,200 documents of one line each
    EXPECT_TRUE(automatic.generate(stream, 14).data.has_value());
}

TEST(ShownNotes, AFailingDocumentMakesTheWholeStreamAListing) {
    const std::string page = PageGenerator({}).generateHTML("a: 1\n---\nb: [\n", 14);
    EXPECT_NE(page.find("<div class=\"error-banner\">Syntax error on line 4</div>"),
              std::string::npos);
    EXPECT_EQ(page.find("Document 1"), std::string::npos);
}

} // namespace
} // namespace quessel::page

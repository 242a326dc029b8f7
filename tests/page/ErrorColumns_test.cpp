// What both pages show of a failure and of a document's notes in the real engine: the marked
// characters of the listing, which stay marked through searches and scrolling, and the notes'
// elements on the virtualised page's rows.
#include "page/PageGenerator.hpp"
#include "tests/page/support/PageFixture.hpp"

#include <gtest/gtest.h>

namespace quessel::page::test {
namespace {

constexpr std::string_view highlighted =
    "(() => { const h = CSS.highlights.get('error-column'); return h ? [...h].map(r => "
    "r.toString()).sort() : []; })()";

class ErrorColumns : public PageFixture {
protected:
    void loadAs(PageKind kind, std::string_view text) {
        loadPage(PageGenerator({}, kind).generate(text, 14).inlined());
        ASSERT_TRUE(iterateUntil([this] {
            return harness().evaluate("document.querySelectorAll('.line, .raw-line').length > 0") ==
                   "true";
        }));
    }

    bool becomes(std::string_view expression, std::string_view expected) {
        return iterateUntil([&] { return harness().evaluate(expression) == expected; });
    }
};

TEST_F(ErrorColumns, BothPagesMarkTheNamedCharactersAndKeepThemThroughASearch) {
    for (const PageKind kind : {PageKind::markup, PageKind::virtualised}) {
        SCOPED_TRACE(kind == PageKind::markup ? "markup" : "virtualised");
        loadAs(kind, "a: 1\nb: 2\na: 3\n");
        EXPECT_TRUE(becomes(highlighted, R"(["a","a"])")) << script(highlighted);
        EXPECT_EQ(script("document.querySelectorAll('.raw-line.error-line').length"), "2");
        EXPECT_EQ(search("a: ").total, 2);
        EXPECT_TRUE(becomes(highlighted, R"(["a","a"])")) << script(highlighted);
        EXPECT_EQ(search("").total, 0);
        EXPECT_TRUE(becomes(highlighted, R"(["a","a"])")) << script(highlighted);
        EXPECT_EQ(script("document.querySelector('.error-detail').textContent"),
                  R"("found duplicate key \"a\" on lines 1 and 3")");
    }
}

TEST_F(ErrorColumns, ACharacterOutsideTheBasicPlaneIsMarkedWhole) {
    for (const PageKind kind : {PageKind::markup, PageKind::virtualised}) {
        loadAs(kind, "a: 1\nb: \xF0\x9F\x98\x80\x07\n");
        EXPECT_TRUE(becomes(highlighted, "[\"\\u0007\"]")) << script(highlighted);
        loadAs(kind, "{\xF0\x9F\x98\x80: 1, \xF0\x9F\x98\x80: 2}\n");
        EXPECT_TRUE(becomes(highlighted, "[\"\xF0\x9F\x98\x80\",\"\xF0\x9F\x98\x80\"]"))
            << script(highlighted);
    }
}

TEST_F(ErrorColumns, APlaceAfterTheLineMarksItsEnd) {
    for (const PageKind kind : {PageKind::markup, PageKind::virtualised}) {
        loadAs(kind, "a: [1\n");
        EXPECT_TRUE(becomes("document.querySelectorAll('.error-line .error-end').length", "1"));
        EXPECT_EQ(script(highlighted), "[]");
    }
}

TEST_F(ErrorColumns, TheVirtualisedRowsCarryTheNotesClassesAndTheMergedKeysTooltip) {
    loadAs(PageKind::virtualised,
           "--- !Doc\nbase: &b {x: 1}\nuse: {<<: *b, y: !Ref z}\n--- *missing-is-fine-here\n");
    // The last document has an undefined alias: the stream fails as a whole.
    EXPECT_EQ(script("document.querySelector('.error-banner').textContent"),
              R"("Syntax error on line 4")");
    loadAs(PageKind::virtualised, "base: &b {x: 1}\nuse: {<<: *b, y: !Ref z}\n--- text\n");
    EXPECT_TRUE(becomes("document.querySelectorAll('#virtual-content > .line').length", "7"));
    EXPECT_EQ(script("[...document.querySelectorAll('.document, .anchor, .tag, .key.merged')]"
                     ".map(e => [e.className, e.textContent, e.title])"),
              R"([["document","Document 1",""],["anchor","&b",""],["key merged","x",)"
              R"("Merged from &b"],["tag","!Ref",""],["document","Document 2",""]])");
}

} // namespace
} // namespace quessel::page::test

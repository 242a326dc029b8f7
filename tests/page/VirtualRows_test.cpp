// The virtualised page's rows in the real web engine: rendering, collapsing, the row pitch,
// scrolling past the engine's size limit, long values, copying and hostile text.
#include "page/VirtualPage.hpp"
#include "tests/page/support/PageFixture.hpp"
#include "yaml/Load.hpp"

#include <gtest/gtest.h>

namespace quessel::page::test {
namespace {

using yaml::Mapping;
using yaml::Null;
using yaml::Sequence;
using yaml::YamlValue;

// Page helpers the tests' scripts share: the rendered rows in order of their places, and the
// text of the row at a height in the viewport.
constexpr std::string_view helpers = R"(
window.shownRows = () => [...document.querySelectorAll(
        '#virtual-content > .line, #virtual-content > .raw-line')]
    .filter(e => getComputedStyle(e).display !== 'none')
    .sort((a, b) => a.getBoundingClientRect().top - b.getBoundingClientRect().top);
window.rowAt = (y) => {
    const row = shownRows().find(e => {
        const box = e.getBoundingClientRect();
        return box.top <= y && y < box.bottom;
    });
    return row ? row.textContent : null;
};
window.pitchOfRows = () => {
    const shown = shownRows();
    return shown[1].getBoundingClientRect().top - shown[0].getBoundingClientRect().top;
};
window.pitchOfProbe = () => {
    const lines = document.querySelector('.virtual-probe').children;
    const tops = [...lines].map(l => l.getBoundingClientRect().top);
    return Math.max(tops[1] - tops[0], tops[2] - tops[1]);
};
'ready';
)";

class VirtualRows : public PageFixture {
protected:
    void loadVirtual(const YamlValue& value) {
        loadVirtualPage(
            writeVirtualPage({"", &value, std::nullopt}, Appearance::light, 14).inlined());
    }
    void loadListing(std::string_view text, std::optional<std::int64_t> errorLine) {
        const ErrorBanner banner{"Syntax error", errorLine};
        loadVirtualPage(writeVirtualPage({text, nullptr, banner}, Appearance::light, 14).inlined());
    }
    void loadVirtualPage(const std::string& page) {
        ASSERT_NE(page.find("id=\"virtual-content\""), std::string::npos);
        loadPage(page);
        ASSERT_EQ(script(helpers), R"("ready")");
        ASSERT_TRUE(waitFor("shownRows().length > 0"));
    }

    // Polls a condition in the page until it holds.
    bool waitFor(std::string_view condition) {
        const std::string check = "!!(" + std::string(condition) + ")";
        return iterateUntil([&] { return harness().evaluate(check) == "true"; });
    }

    // The page with its parts published as window.testView.
    void loadWithRowsApi(const YamlValue& value) {
        std::string page =
            writeVirtualPage({"", &value, std::nullopt}, Appearance::light, 14).inlined();
        const std::size_t end = page.rfind("\n})();</script>");
        ASSERT_NE(end, std::string::npos);
        page.insert(end, "\nwindow.testView = VirtualPage.view();");
        loadVirtualPage(page);
    }

    std::string rowsText() { return script("shownRows().map(e => e.textContent)"); }

    // What a copy of the page's selection puts on the clipboard, as JSON.
    std::string copySelection() {
        return script("(() => { let copied = null; const keep = e => { copied = "
                      "e.clipboardData.getData('text/plain'); }; "
                      "document.addEventListener('copy', keep); "
                      "document.dispatchEvent(new ClipboardEvent('copy', {clipboardData: new "
                      "DataTransfer(), bubbles: true, cancelable: true})); "
                      "document.removeEventListener('copy', keep); return copied; })()");
    }

    std::string inView(std::string_view element) {
        return script("(() => { const box = (" + std::string(element) +
                      ").getBoundingClientRect(); return box.top >= 0 && box.bottom <= "
                      "window.innerHeight && box.left >= 0 && box.right <= window.innerWidth; "
                      "})()");
    }
};

Sequence numberedItems(int count) {
    Sequence items;
    items.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        items.emplace_back("item " + std::to_string(i));
    }
    return items;
}

TEST_F(VirtualRows, RowsCarryTheMarkupPagesClassesIndentationAndTreeRoles) {
    loadVirtual(mappingOf({{"b", true},
                           {"a", mappingOf({{"x", "s"}, {"y", std::int64_t{1}}})},
                           {"list", Sequence{Null{}, Sequence{}}}}));
    EXPECT_EQ(script("shownRows().map(e => e.innerHTML)"),
              R"([")"
              R"(<span class=\"toggle\" id=\"toggle-0\">▼</span><span class=\"key\">a</span>:)"
              R"(<span class=\"collapsed-preview\" id=\"preview-0\">2 items</span>",")"
              R"(<span class=\"key\">x</span>: <span class=\"string\">s</span>",")"
              R"(<span class=\"key\">y</span>: <span class=\"number\">1</span>",")"
              R"(<span class=\"key\">b</span>: <span class=\"boolean\">true</span>",")"
              R"(<span class=\"toggle\" id=\"toggle-4\">▼</span><span class=\"key\">list</span>:)"
              R"(<span class=\"collapsed-preview\" id=\"preview-4\">2 items</span>",")"
              R"(<span class=\"bracket\">-</span> <span class=\"null\">null</span>",")"
              R"(<span class=\"bracket\">-</span> <span class=\"bracket\">[]</span>"])");
    EXPECT_EQ(script("shownRows().map(e => [e.className, getComputedStyle(e).paddingLeft, "
                     "e.getAttribute('role'), e.getAttribute('aria-level'), "
                     "e.getAttribute('aria-expanded')])"),
              R"([["line","0px","treeitem","1","true"],["line","32px","treeitem","2",null],)"
              R"(["line","32px","treeitem","2",null],["line","16px","treeitem","1",null],)"
              R"(["line","0px","treeitem","1","true"],["line","32px","treeitem","2",null],)"
              R"(["line","32px","treeitem","2",null]])");
    EXPECT_EQ(script("document.getElementById('virtual-content').getAttribute('role')"),
              R"("tree")");
    // One line each, stacked at the pitch the probe measures.
    EXPECT_EQ(script("shownRows().every(e => e.getClientRects().length === 1 && "
                     "Math.abs(e.getBoundingClientRect().height - pitchOfProbe()) < 0.5)"),
              "true");
    EXPECT_EQ(script("Math.abs(pitchOfRows() - pitchOfProbe()) < 0.01"), "true");
    EXPECT_EQ(script("document.getElementById('page-data')"), "null");
}

TEST_F(VirtualRows, ClickingAToggleHidesAndShowsExactlyItsSubtree) {
    loadVirtual(Sequence{mappingOf({{"a", Sequence{std::int64_t{1}, std::int64_t{2}}},
                                    {"b", mappingOf({{"c", "d"}})}}),
                         "after"});
    const std::string all = rowsText();
    EXPECT_EQ(all, R"(["▼-2 items","▼a:2 items","- 1","- 2","▼b:1 items","c: d","- after"])");
    script("document.getElementById('toggle-1').click()");
    EXPECT_EQ(rowsText(), R"(["▼-2 items","▼a:2 items","▼b:1 items","c: d","- after"])");
    EXPECT_EQ(script("[document.getElementById('toggle-1').className, "
                     "document.getElementById('preview-1').className, "
                     "document.getElementById('toggle-1').parentNode.getAttribute('aria-"
                     "expanded')]"),
              R"(["toggle collapsed","collapsed-preview visible","false"])");
    EXPECT_EQ(script("getComputedStyle(document.getElementById('preview-1')).display"),
              R"("inline")");
    script("document.getElementById('toggle-0').click()");
    EXPECT_EQ(rowsText(), R"(["▼-2 items","- after"])");
    // Expanding the outer node shows the inner one still collapsed, as the markup page does.
    script("toggle('0')");
    EXPECT_EQ(rowsText(), R"(["▼-2 items","▼a:2 items","▼b:1 items","c: d","- after"])");
    script("document.getElementById('toggle-1').click()");
    EXPECT_EQ(rowsText(), all);
    EXPECT_EQ(script("[document.getElementById('toggle-1').className, "
                     "document.getElementById('preview-1').className, "
                     "document.getElementById('toggle-1').parentNode.getAttribute('aria-"
                     "expanded')]"),
              R"(["toggle","collapsed-preview","true"])");
    // Rows follow each other without gaps after all that.
    EXPECT_EQ(script("shownRows().every((e, i, a) => i === 0 || Math.abs("
                     "e.getBoundingClientRect().top - a[i - 1].getBoundingClientRect().top - "
                     "pitchOfProbe()) < 0.01)"),
              "true");
    EXPECT_EQ(script("toggle('2'); toggle('x'); toggle(''); toggle('99'); 'survived'"),
              R"("survived")");
    EXPECT_EQ(rowsText(), all);
}

TEST_F(VirtualRows, AFontSizeChangeKeepsThePitchOfTheProbeAndTheTopRow) {
    loadVirtual(numberedItems(5000));
    const std::string pitch = script("pitchOfRows()");
    script("window.scrollTo(0, document.getElementById('virtual-content')"
           ".getBoundingClientRect().top + window.scrollY + 1000 * pitchOfRows())");
    ASSERT_TRUE(waitFor("rowAt(1) === '- item 1000'"));
    script("document.body.style.fontSize = '24px'");
    ASSERT_TRUE(waitFor("Math.abs(pitchOfRows() - pitchOfProbe()) < 0.01 && pitchOfRows() > " +
                        pitch + " + 4"));
    EXPECT_TRUE(waitFor("rowAt(1) === '- item 1000'")) << script("rowAt(1)");
    EXPECT_EQ(script("shownRows().every(e => e.getClientRects().length === 1)"), "true");
    script("document.body.style.fontSize = '10px'");
    ASSERT_TRUE(
        waitFor("Math.abs(pitchOfRows() - pitchOfProbe()) < 0.01 && pitchOfRows() < " + pitch));
    EXPECT_TRUE(waitFor("rowAt(1) === '- item 1000'")) << script("rowAt(1)");
}

TEST_F(VirtualRows, TheLastRowOfADocumentPastTheEnginesSizeLimitIsReachable) {
    // Two million listing lines at about 19 px are some 38 million pixels: past the 2^25 px
    // the engine clamps layout sizes at.
    std::string text;
    constexpr int lines = 2'000'000;
    text.reserve(lines * 2);
    for (int i = 0; i < lines; ++i) {
        text += "x\n";
    }
    text.pop_back();
    loadListing(text, std::nullopt);
    EXPECT_EQ(script("document.getElementById('virtual-content').offsetHeight < 2 ** 25"), "true");
    script("window.scrollTo(0, document.documentElement.scrollHeight)");
    ASSERT_TRUE(waitFor("shownRows().some(e => e.firstChild.textContent === '2000000')"));
    EXPECT_EQ(script("(() => { const last = shownRows().find(e => e.firstChild.textContent === "
                     "'2000000'); const box = last.getBoundingClientRect(); return box.top >= 0 "
                     "&& box.bottom <= window.innerHeight; })()"),
              "true");
    // Small steps from there move row by row.
    const std::string bottomRow = "rowAt(window.innerHeight - 40)";
    const std::string before = script(bottomRow);
    script("window.scrollBy(0, -10 * pitchOfRows())");
    ASSERT_TRUE(waitFor(bottomRow + " !== " + before));
    EXPECT_EQ(
        script("Number(" + before + ".slice(0, -1)) - Number(" + bottomRow + ".slice(0, -1))"),
        "10");
    // Once scrolling pauses the scroll bar catches up with the rows, which stay in place.
    const std::string stepped = script(bottomRow);
    const std::string scroll = script("window.scrollY");
    ASSERT_TRUE(waitFor("window.scrollY > " + scroll));
    harness().settle(std::chrono::milliseconds(100));
    EXPECT_EQ(script(bottomRow), stepped);
    // And the start is reachable again.
    script("window.scrollTo(0, 0)");
    EXPECT_TRUE(waitFor("shownRows()[0].firstChild.textContent === '1' && "
                        "shownRows()[0].getBoundingClientRect().top > 0"));
}

TEST_F(VirtualRows, TheErrorLineOfABigListingIsMarkedAndInView) {
    std::string text;
    for (int i = 1; i <= 100'000; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    loadListing(text, 60'000);
    EXPECT_EQ(script("document.getElementById('virtual-content').classList.contains('raw-"
                     "content')"),
              "true");
    ASSERT_TRUE(waitFor("document.querySelector('.raw-line.error-line')"));
    EXPECT_EQ(script("(() => { const e = document.querySelector('.error-line'); const box = "
                     "e.getBoundingClientRect(); return [e.textContent, box.top >= 0 && "
                     "box.bottom <= window.innerHeight]; })()"),
              R"(["60000line 60000",true])");
    EXPECT_EQ(script("document.querySelectorAll('.error-line').length"), "1");
    // The last line, empty, keeps its height with a no-break space.
    script("window.scrollTo(0, document.documentElement.scrollHeight)");
    EXPECT_TRUE(waitFor("shownRows().at(-1).textContent === '100001\\u00a0'"));
}

TEST_F(VirtualRows, ADocumentHoldingNulShowsTheRowsAfterIt) {
    const std::optional<YamlValue> value = yaml::load("- \"before\\0after\"\n- next\n- last\n");
    ASSERT_TRUE(value);
    loadVirtual(*value);
    EXPECT_EQ(rowsText(), R"(["- beforeafter","- next","- last"])");
}

TEST_F(VirtualRows, ALongValueStaysOneLineWithItsWholeTextAsTitle) {
    std::string longText;
    for (int i = 0; longText.size() < 100'000; ++i) {
        longText += "word" + std::to_string(i) + " ";
    }
    loadVirtual(mappingOf({{"long", longText}, {"short", "s"}}));
    EXPECT_EQ(script("(() => { const row = shownRows()[0]; return [row.getClientRects().length, "
                     "Math.abs(row.getBoundingClientRect().height - pitchOfProbe()) < 0.5, "
                     "row.scrollWidth > row.clientWidth, row.textContent.length < 5000, "
                     "row.title.length]; })()"),
              "[1,true,true,true," + std::to_string(longText.size() + 6) + "]");
    EXPECT_EQ(script("shownRows()[0].title.startsWith('long: word0 word1')"), "true");
    EXPECT_EQ(script("shownRows()[1].hasAttribute('title')"), "false");
}

TEST_F(VirtualRows, CopyingAcrossRowsGivesTheRowsTextFromTheData) {
    loadVirtual(numberedItems(3000));
    // The selection starts in row 1 ("- item 1"), after "it", and ends in row 1500 after
    // "- ite"; the rows between were never all rendered at once.
    script("(() => { const start = shownRows()[1].lastChild.firstChild; "
           "getSelection().setBaseAndExtent(start, 2, start, 2); })()");
    harness().settle(std::chrono::milliseconds(50));
    script("window.scrollTo(0, document.getElementById('virtual-content')"
           ".getBoundingClientRect().top + window.scrollY + 1500 * pitchOfRows())");
    ASSERT_TRUE(waitFor("rowAt(1) === '- item 1500'"));
    script("(() => { const end = shownRows().find(e => e.textContent === '- item 1500')"
           ".lastChild.firstChild; getSelection().extend(end, 3); })()");
    EXPECT_EQ(script("getSelection().rangeCount"), "1");
    std::string expected = "\"em 1"; // as JSON
    for (int i = 2; i < 1500; ++i) {
        expected += "\\n- item " + std::to_string(i);
    }
    expected += "\\n- ite\"";
    EXPECT_EQ(copySelection(), expected);
}

TEST_F(VirtualRows, CopyingTheWholePageGivesEveryRowAndTheTextAroundThem) {
    std::string text;
    for (int i = 1; i <= 500; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    loadListing(text, 2);
    script("getSelection().selectAllChildren(document.body)");
    std::string expected = "\"Syntax error"; // the banner, then the lines; as JSON
    for (int i = 1; i <= 500; ++i) {
        expected += "\\nline " + std::to_string(i);
    }
    expected += "\\n\""; // the empty last line
    EXPECT_EQ(copySelection(), expected);
}

// Rows 0 to 999 are items; row 1000 is an element holding "outer" (1001) holding "inner" (1002).
YamlValue itemsThenNested() {
    Sequence items = numberedItems(1000);
    items.emplace_back(mappingOf({{"outer", mappingOf({{"inner", "target value"}})}}));
    items.emplace_back("tail");
    return items;
}

TEST_F(VirtualRows, TheApiIndexesTheRowsAndFindsTheRowOfAnOffset) {
    loadWithRowsApi(itemsThenNested());
    EXPECT_EQ(script("[testView.index.count, testView.data.listing, testView.container.id, "
                     "Object.keys(testView.data.marker).sort()]"),
              R"([1004,false,"virtual-content",["piece","row","toggle"]])");
    EXPECT_EQ(script("[testView.index.start(1004) === testView.data.pieces.length, "
                     "testView.index.start(0)]"),
              "[true,0]");
    EXPECT_EQ(script("testView.index.rowOfOffset(testView.data.pieces.indexOf('target'))"), "1002");
    EXPECT_EQ(script("testView.index.rowOfOffset(testView.index.start(1002))"), "1002");
    EXPECT_EQ(script("testView.index.rowOfOffset(testView.index.start(1002) - 1)"), "1001");
    EXPECT_EQ(script("testView.index.rowOfOffset(testView.data.pieces.length - 1)"), "1003");
    EXPECT_EQ(script("testView.data.pieces.charAt(testView.index.start(1001)) === "
                     "testView.data.marker.toggle"),
              "true");
    EXPECT_EQ(script("testView.painter.element(0).textContent"), R"("- item 0")");
    EXPECT_EQ(script("testView.painter.element(1002)"), "null");
}

TEST_F(VirtualRows, RevealExpandsTheCollapsedAncestorsAndScrollsTheRowIntoView) {
    loadWithRowsApi(itemsThenNested());
    script("toggle('1001'); toggle('1000')");
    script("testView.painter.reveal(1002)");
    EXPECT_EQ(script("testView.painter.element(1002).textContent"), R"("inner: target value")");
    EXPECT_EQ(inView("testView.painter.element(1002)"), "true");
    EXPECT_EQ(script("['1000', '1001'].map(id => [document.getElementById('toggle-' + "
                     "id).className, document.getElementById('preview-' + id).className, "
                     "testView.painter.element(Number(id)).getAttribute('aria-expanded')])"),
              R"([["toggle","collapsed-preview","true"],["toggle","collapsed-preview","true"]])");
    // A row already in view stays where it is.
    const std::string top = script("testView.painter.element(1002).getBoundingClientRect().top");
    script("testView.painter.reveal(1001)");
    EXPECT_EQ(script("testView.painter.element(1002).getBoundingClientRect().top"), top);
    script("testView.painter.reveal(0)");
    EXPECT_EQ(inView("testView.painter.element(0)"), "true");
}

TEST_F(VirtualRows, TheHighlighterMarksPiecesOfTheRowsItNames) {
    loadWithRowsApi(itemsThenNested());
    script("window.at = testView.data.pieces.indexOf('target'); testView.painter.setMarks(row => "
           "row === "
           "1002 ? [[at, at + 3, false], [at + 7, at + 12, true]] : row === 0 ? "
           "[[testView.index.start(0), testView.index.start(0) + 1, false]] : null); "
           "testView.painter.reveal(1002)");
    EXPECT_EQ(script("testView.painter.element(1002).innerHTML"),
              R"("<span class=\"key\">inner</span>: <span class=\"string\"><mark )"
              R"(class=\"highlight\">tar</mark>get <mark class=\"highlight )"
              R"(current\">value</mark></span>")");
    // Revealing another row writes every row anew: the previous current mark is no more.
    script("testView.painter.setMarks(row => row === 1002 ? [[at, at + 3, false]] : row === 1003 "
           "? [[testView.index.start(1003) + 4, testView.index.start(1003) + 6, true]] : null); "
           "testView.painter.reveal(1003)");
    EXPECT_EQ(script("[...document.querySelectorAll('mark.current')].map(m => m.textContent)"),
              R"(["ta"])");
    script("testView.painter.setMarks(null); testView.painter.refresh()");
    EXPECT_EQ(script("document.querySelectorAll('mark').length"), "0");
    // Marks over the toggle glyph show the glyph.
    script("testView.painter.setMarks(row => row === 1001 ? [[testView.index.start(1001), "
           "testView.index.start(1001) + 1, true]] : null); testView.painter.refresh()");
    EXPECT_EQ(script("document.getElementById('toggle-1001').innerHTML"),
              R"("<mark class=\"highlight current\">▼</mark>")");
}

TEST_F(VirtualRows, ALongPieceShowsAWindowHoldingItsCurrentMarkInView) {
    const std::string value = std::string(15'000, 'x') + "NEEDLE" + std::string(15'000, 'y');
    loadWithRowsApi(Sequence{"first", value});
    script("window.at = testView.data.pieces.indexOf('NEEDLE'); testView.painter.setMarks(row => "
           "row === "
           "1 ? [[at, at + 6, true]] : null); testView.painter.reveal(1)");
    EXPECT_EQ(script("testView.painter.element(1).querySelector('mark.current').textContent"),
              R"("NEEDLE")");
    EXPECT_EQ(script("testView.painter.element(1).textContent.length < 5000"), "true");
    EXPECT_EQ(inView("testView.painter.element(1).querySelector('mark.current')"), "true");
    EXPECT_EQ(script("testView.painter.element(1).title.length"), std::to_string(value.size() + 2));
}

// What the current match's row shows: whether the mark and the key are each the element on top
// at their own place, whether the key lies within the row, how far the row is scrolled, and the
// texts of the row's cuts.
constexpr std::string_view currentRowShows = R"((() => {
    const mark = document.querySelector('mark.current');
    const row = mark.closest('#virtual-content > *');
    const key = row.querySelector(':scope > .key, :scope > .bracket, .line-number');
    const onTop = (element) => {
        const box = element.getBoundingClientRect();
        const hit = document.elementFromPoint((box.left + box.right) / 2,
                                              (box.top + box.bottom) / 2);
        return hit === element || element.contains(hit);
    };
    const rowBox = row.getBoundingClientRect();
    const keyBox = key.getBoundingClientRect();
    return [onTop(mark), onTop(key), keyBox.left >= rowBox.left && keyBox.right <= rowBox.right,
            row.scrollLeft, [...row.querySelectorAll('.cut')].map(cut => cut.textContent)];
})())";

TEST_F(VirtualRows, TheCurrentMatchInALongValueIsDrawnWithItsKeyAndCutsThatCopyWhole) {
    // A 6,400-character line with the needle in its middle.
    const std::string value = std::string(3'197, 'a') + " needle " + std::string(3'195, 'b');
    loadVirtual(mappingOf({{"key", value}, {"other", "needle"}}));
    EXPECT_EQ(search("needle").total, 2);
    EXPECT_EQ(script(currentRowShows), R"([true,true,true,0,["…"]])");
    EXPECT_EQ(script("document.querySelector('mark.current').closest('.line').title.length"),
              std::to_string(value.size() + 5));
    // The ellipsis is not the document's: no search counts it.
    EXPECT_EQ(search("…").total, 0);
    // A copy of the whole row puts back what its cut stands for.
    script("getSelection().selectAllChildren(shownRows()[0])");
    EXPECT_EQ(copySelection(), "\"key: " + value + "\"");
}

TEST_F(VirtualRows, AMatchPastTheRightEdgeOfAShortRowComesIntoViewAndGoesWithTheSearch) {
    const std::string value = std::string(2'000, 'x') + "NEEDLE";
    loadVirtual(Sequence{"first", value});
    EXPECT_EQ(search("needle").total, 1);
    EXPECT_EQ(script(currentRowShows), R"([true,true,true,0,["…"]])");
    search("");
    EXPECT_EQ(script("shownRows()[1].textContent === '- ' + 'x'.repeat(2000) + 'NEEDLE'"), "true");
}

TEST_F(VirtualRows, AMatchFarIntoALongListingLineShowsWithItsLineNumber) {
    std::string text = "key: [\n";
    text += "long: " + std::string(9'000, 'z') + " needle " + std::string(9'000, 'z') + "\n";
    loadListing(text, 1);
    EXPECT_EQ(search("needle").total, 1);
    EXPECT_EQ(script(currentRowShows), R"([true,true,true,0,["…","…"]])");
}

} // namespace
} // namespace quessel::page::test

// The keyboard cursor on both kinds of tree page, in the real web engine: keys pressed as a user
// presses them, clicks, the search, the host's functions and what the page tells the host.
#include "tests/page/support/PageFixture.hpp"

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace quessel::page::test {
namespace {

// Rows: a: 1 | b: | c: 2 | d: | - x | - y | e: 3 (keys sorted, b and d collapsible).
constexpr std::string_view small = "e: 3\nb:\n  c: 2\n  d: [x, y]\na: 1\n";

std::string manyEntries(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(10000 + i);
        text += "k" + number + ": v" + number + "\n";
    }
    return text;
}

class TreeCursor : public PageFixture, public ::testing::WithParamInterface<PageKind> {
protected:
    void load(std::string_view yaml) { loadDocumentAs(yaml, GetParam()); }

    // Presses the keys on the page, each a key name or [name, {modifiers}]; whether the page
    // took each of them.
    std::string press(std::string_view keys) {
        return script("(() => { const taken = []; for (const k of " + std::string(keys) +
                      ") { const [key, more] = Array.isArray(k) ? k : [k, {}];"
                      " const event = new KeyboardEvent('keydown', Object.assign({key,"
                      " bubbles: true, cancelable: true}, more));"
                      " document.body.dispatchEvent(event); taken.push(event.defaultPrevented); }"
                      " return taken; })()");
    }

    // The cursor row's text as the host is told it, or null.
    std::string line() {
        return script("(() => { const n = cursorNode(); return n && n.line; })()");
    }
    // The cursor's node as [document, steps, line], or null.
    std::string node() { return script("(n => n && [n.document, n.steps, n.line])(cursorNode())"); }
    std::string path() { return script("(n => n && [n.document, n.steps])(cursorNode())"); }
    std::string visibleLines() {
        return script("Array.from(document.querySelectorAll('.line')).filter(l => l.offsetParent "
                      "!== null && !l.classList.contains('virtual-parked') && "
                      "!l.closest('.virtual-probe')).length");
    }
    // Whether the element drawn as the cursor is the only one, lies wholly in the viewport and
    // holds the given text.
    std::string cursorShown() {
        return script("(() => { const all = document.querySelectorAll('.cursor');"
                      " if (all.length !== 1) return 'drawn ' + all.length;"
                      " const box = (all[0].firstElementChild || all[0]).getBoundingClientRect();"
                      " return box.top >= 0 && box.bottom <= innerHeight ? 'in view' :"
                      " 'out of view ' + box.top; })()");
    }
};

TEST_P(TreeCursor, MovesRowByRowAndStopsAtBothEnds) {
    load(small);
    EXPECT_EQ(node(), "null");
    EXPECT_EQ(press("['ArrowDown']"), "[true]");
    EXPECT_EQ(line(), "\"a: 1\"");
    EXPECT_EQ(press("['ArrowUp', 'k']"), "[true,true]");
    EXPECT_EQ(line(), "\"a: 1\"");
    press("['j', 'ArrowDown', 'j', 'j']");
    EXPECT_EQ(line(), "\"- x\"");
    press("['End', 'ArrowDown', 'j']");
    EXPECT_EQ(line(), "\"e: 3\"");
    press("['k']");
    EXPECT_EQ(line(), "\"- y\"");
    press("['g']");
    EXPECT_EQ(line(), "\"a: 1\"");
    press("[['G', {shiftKey: true}]]");
    EXPECT_EQ(line(), "\"e: 3\"");
    press("['Home']");
    EXPECT_EQ(line(), "\"a: 1\"");
    EXPECT_EQ(cursorShown(), "\"in view\"");
}

TEST_P(TreeCursor, WithoutACursorUpAndEndStartAtTheLastRow) {
    load(small);
    press("['ArrowUp']");
    EXPECT_EQ(line(), "\"e: 3\"");
    load(small);
    press("['End']");
    EXPECT_EQ(line(), "\"e: 3\"");
    load(small);
    // Keys that act on the cursor's node pass while there is none.
    EXPECT_EQ(press("['ArrowRight', 'ArrowLeft', ' ', 'Enter', '*']"),
              "[false,false,false,false,false]");
    EXPECT_EQ(node(), "null");
}

TEST_P(TreeCursor, RightAndLeftOpenCloseAndWalkBetweenParentAndChild) {
    load(small);
    press("['Home', 'j']");
    EXPECT_EQ(line(), "\"b:\"");
    press("['ArrowLeft']");
    EXPECT_EQ(line(), "\"b: 2 items\"");
    EXPECT_EQ(script("document.querySelector('.cursor').getAttribute('aria-expanded')"),
              "\"false\"");
    press("['j']");
    EXPECT_EQ(line(), "\"e: 3\"") << "a collapsed node's rows are skipped";
    press("['k', 'h']");
    EXPECT_EQ(line(), "\"b: 2 items\"") << "a top-level row has no parent to go to";
    press("['l']");
    EXPECT_EQ(line(), "\"b:\"");
    press("['l']");
    EXPECT_EQ(line(), "\"c: 2\"");
    press("['ArrowRight']");
    EXPECT_EQ(line(), "\"c: 2\"") << "a scalar has nothing to open";
    press("['j', 'l', 'l']");
    EXPECT_EQ(line(), "\"- x\"");
    press("['h']");
    EXPECT_EQ(line(), "\"d:\"");
    press("['h']");
    EXPECT_EQ(line(), "\"d: 2 items\"");
    press("['h']");
    EXPECT_EQ(line(), "\"b:\"");
    EXPECT_EQ(visibleLines(), "5");
}

TEST_P(TreeCursor, SpaceAndReturnToggleAndTheCursorFollowsCollapse) {
    load(small);
    EXPECT_EQ(press("['Home', 'j', ' ']"), "[true,true,true]");
    EXPECT_EQ(line(), "\"b: 2 items\"");
    EXPECT_EQ(script("window.scrollY"), "0") << "Space does not scroll";
    press("['Enter', 'j', 'j', 'j']");
    EXPECT_EQ(line(), "\"- x\"");
    // A click on b's toggle hides the cursor's row: the cursor goes to b.
    script("document.querySelector('.cursor').blur(); "
           "document.querySelectorAll('.toggle[id]')[0].click()");
    EXPECT_EQ(line(), "\"b: 2 items\"");
    // Collapsing from the host: the cursor inside goes to the row that shows in its place.
    press("['Enter', 'j', 'j', 'j']");
    script("collapseAll()");
    EXPECT_EQ(line(), "\"b: 2 items\"");
    EXPECT_EQ(visibleLines(), "3");
}

TEST_P(TreeCursor, DigitsOpenTheDocumentToALevel) {
    load(small);
    press("['1']");
    EXPECT_EQ(visibleLines(), "3");
    EXPECT_EQ(node(), "null") << "digits need no cursor";
    press("['2']");
    EXPECT_EQ(visibleLines(), "5");
    press("['End', 'k']");
    EXPECT_EQ(line(), "\"d: 2 items\"");
    press("['3']");
    EXPECT_EQ(visibleLines(), "7");
    press("['1']");
    EXPECT_EQ(line(), "\"b: 2 items\"");
    script("expandToLevel(2)");
    EXPECT_EQ(visibleLines(), "5");
    script("expandAll()");
    EXPECT_EQ(visibleLines(), "7");
    // Not a level: nothing changes.
    script("expandToLevel(0); expandToLevel('x'); expandToLevel(-3)");
    EXPECT_EQ(visibleLines(), "7");
}

TEST_P(TreeCursor, ShiftArrowsAndStarOpenAndCloseAWholeSubtree) {
    load(small);
    press("['Home', 'j', ['ArrowLeft', {shiftKey: true}]]");
    EXPECT_EQ(visibleLines(), "3");
    press("['l']");
    EXPECT_EQ(visibleLines(), "5") << "d stayed collapsed below b";
    press("['h', '*']");
    EXPECT_EQ(visibleLines(), "7");
    press("[['ArrowLeft', {shiftKey: true}], ['ArrowRight', {shiftKey: true}]]");
    EXPECT_EQ(visibleLines(), "7");
    script("collapseSubtree()");
    EXPECT_EQ(visibleLines(), "3");
    script("expandSubtree()");
    EXPECT_EQ(visibleLines(), "7");
    // Keys with Control, Alt or Meta are the application's; Shift with other keys selects.
    EXPECT_EQ(press("[['j', {ctrlKey: true}], ['ArrowDown', {altKey: true}], ['End', {metaKey: "
                    "true}], ['ArrowDown', {shiftKey: true}], 'x']"),
              "[false,false,false,false,false]");
    EXPECT_EQ(line(), "\"b:\"");
}

TEST_P(TreeCursor, PagesAndEndsReachRowsFarBeyondThoseInView) {
    load(manyEntries(3000));
    press("['Home', 'PageDown']");
    const std::string afterOnePage = line();
    EXPECT_NE(afterOnePage, "\"k10000: v10000\"");
    press("['PageUp']");
    EXPECT_EQ(line(), "\"k10000: v10000\"");
    for (int i = 0; i < 5; ++i) {
        press("['PageDown', 'PageDown', 'PageDown', 'PageDown']");
    }
    EXPECT_EQ(cursorShown(), "\"in view\"");
    press("['End']");
    EXPECT_EQ(line(), "\"k12999: v12999\"");
    EXPECT_EQ(cursorShown(), "\"in view\"");
    press("['PageDown', 'k', 'k']");
    EXPECT_EQ(line(), "\"k12997: v12997\"");
    press("['Home']");
    EXPECT_EQ(cursorShown(), "\"in view\"");
    EXPECT_EQ(line(), "\"k10000: v10000\"");
}

TEST_P(TreeCursor, ClicksAndRightClicksPutTheCursorOnTheirRow) {
    load(small);
    EXPECT_EQ(node(), "null");
    script("document.querySelectorAll('.line[id] > .key')[2].click()");
    EXPECT_EQ(line(), "\"c: 2\"");
    script("document.querySelectorAll('.line[id] > .key')[0].dispatchEvent(new "
           "MouseEvent('contextmenu', "
           "{bubbles: true, cancelable: true}))");
    EXPECT_EQ(line(), "\"a: 1\"");
    script("document.querySelectorAll('.toggle[id]')[1].click()");
    EXPECT_EQ(line(), "\"d: 2 items\"");
}

TEST_P(TreeCursor, TheSearchTakesTheCursorToTheCurrentMatch) {
    load(small);
    script("collapseAll()");
    search("y");
    EXPECT_EQ(line(), "\"- y\"");
    search("3");
    EXPECT_EQ(line(), "\"e: 3\"");
    search("2");
    navigate(true);
    EXPECT_EQ(line(), "\"c: 2\"") << "the first match is the preview of b";
}

TEST_P(TreeCursor, TellsTheHostOncePerRowItLandsOn) {
    load(small);
    press("['End', 'End', 'j', 'j']");
    press("['Home']");
    const auto& messages = harness().cursorMessages();
    ASSERT_EQ(messages.size(), 2U);
    // The body's members come in no fixed order.
    for (const auto& [message, key, text] :
         {std::tuple{messages[0], "e", "e: 3"}, std::tuple{messages[1], "a", "a: 1"}}) {
        for (const std::string& member :
             {std::string(R"("document":null)"), R"("steps":[{"key":")" + std::string(key) + "\"}]",
              R"("line":")" + std::string(text) + "\""}) {
            EXPECT_NE(message.find(member), std::string::npos) << message << " lacks " << member;
        }
    }
}

TEST_P(TreeCursor, TellsAssistiveTechnologyTheTreeAndTheCursor) {
    load(small);
    press("['Home', 'j', 'l', 'j', 'l']");
    EXPECT_EQ(script("(() => { const c = document.querySelector('.cursor');"
                     " const tree = c.closest('[role=tree]');"
                     " return [tree.getAttribute('aria-activedescendant') === c.id,"
                     " ...['role', 'aria-level', 'aria-posinset', 'aria-setsize',"
                     " 'aria-expanded', 'aria-selected'].map(a => c.getAttribute(a))]; })()"),
              R"([true,"treeitem","3","1","2",null,"true"])");
    press("['k']");
    EXPECT_EQ(script("(() => { const c = document.querySelector('.cursor');"
                     " return ['aria-level', 'aria-posinset', 'aria-setsize', 'aria-expanded']"
                     ".map(a => c.getAttribute(a)); })()"),
              R"(["2","2","2","true"])");
    EXPECT_EQ(script("document.querySelectorAll('[aria-selected]').length"), "1");
}

TEST_P(TreeCursor, NamesRowsByKeysAsShownAndElementsByIndex) {
    load("\"a.b\": {\"with space\": 1, \"q\\\"uote\": 2, \"back\\\\slash\": 3, \"tab\\tkey\": 4}\n"
         "\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87: [x, [y, z]]\n42: n\n\"\": empty\n"
         "? [1, 2]\n: complex\nbase: &b {m: 1}\nmerged: {<<: *b, own: 2}\n\"bel\\a\": 1\n");
    script("expandAll()");
    EXPECT_EQ(press("['Home']"), "[true]");
    std::string all;
    std::vector<std::string> paths;
    for (int i = 0; i < 17; ++i) {
        all += node() + "\n";
        paths.push_back(path());
        press("['j']");
    }
    // Each is found again through collapsed rows, the way the host keeps the cursor on a new
    // page.
    script("collapseAll()");
    for (const std::string& each : paths) {
        EXPECT_EQ(script("placeCursor((a => ({document: a[0], steps: a[1]}))(" + each + "))"),
                  "true");
        EXPECT_EQ(path(), each);
    }
    EXPECT_EQ(all,
              R"([null,[{"key":""}],": empty"]
[null,[{"key":"42"}],"42: n"]
[null,[{"key":"[1, 2]"}],"[1, 2]: complex"]
[null,[{"key":"a.b"}],"a.b:"]
[null,[{"key":"a.b"},{"key":"back\\slash"}],"back\\slash: 3"]
[null,[{"key":"a.b"},{"key":"q\"uote"}],"q\"uote: 2"]
[null,[{"key":"a.b"},{"key":"tab\tkey"}],"tab\tkey: 4"]
[null,[{"key":"a.b"},{"key":"with space"}],"with space: 1"]
[null,[{"key":"base"}],"base: &b"]
[null,[{"key":"base"},{"key":"m"}],"m: 1"]
[null,[{"key":"bel\u0007"}],"bel\u0007: 1"]
[null,[{"key":"merged"}],"merged:"]
[null,[{"key":"merged"},{"key":"m"}],"m: 1"]
[null,[{"key":"merged"},{"key":"own"}],"own: 2"]
[null,[{"key":"ключ"}],"ключ:"]
[null,[{"key":"ключ"},{"index":0}],"- x"]
[null,[{"key":"ключ"},{"index":1}],"-"]
)");
}

TEST_P(TreeCursor, NamesTheDocumentsOfAStreamAndDeepRows) {
    std::string deep;
    for (int level = 0; level < 40; ++level) {
        deep += std::string(static_cast<std::size_t>(2 * level), ' ') + "l" +
                std::to_string(level) + ":\n";
    }
    deep += std::string(80, ' ') + "- leaf\n";
    load("a: 1\n---\n- x\n- y\n---\n" + deep);
    press("['Home']");
    EXPECT_EQ(node(), R"([0,[],"Document 1"])");
    press("['j', 'j', 'j', 'j']");
    EXPECT_EQ(node(), R"([1,[{"index":1}],"- y"])");
    press("['End']");
    const std::string leaf = node();
    EXPECT_EQ(leaf.substr(0, 40), R"([2,[{"key":"l0"},{"key":"l1"},{"key":"l2)");
    EXPECT_NE(leaf.find(R"({"key":"l39"},{"index":0}],"- leaf"])"), std::string::npos);
    // The same place is found again on a new page of the file, through collapsed rows.
    load("a: 1\n---\n- x\n- y\n---\n" + deep);
    script("collapseAll()");
    EXPECT_EQ(script("placeCursor((a => ({document: a[0], steps: a[1]}))(" + leaf + "))"), "true");
    EXPECT_EQ(node(), leaf);
    EXPECT_EQ(cursorShown(), "\"in view\"");
}

TEST_P(TreeCursor, PlacingOnAVanishedNodeFallsBackToItsNearestAncestor) {
    load(small);
    EXPECT_EQ(script("placeCursor({document: null, steps: [{key: 'b'}, {key: 'd'}, {index: 1}]})"),
              "true");
    EXPECT_EQ(line(), "\"- y\"");
    EXPECT_EQ(
        script("placeCursor({document: null, steps: [{key: 'b'}, {key: 'gone'}, {index: 0}]})"),
        "false");
    EXPECT_EQ(line(), "\"b:\"");
    EXPECT_EQ(script("placeCursor({document: null, steps: [{key: 'b'}, {key: 'd'}, {index: 7}]})"),
              "false");
    EXPECT_EQ(line(), "\"d:\"");
    EXPECT_EQ(script("placeCursor({document: 3, steps: [{key: 'a'}]})"), "false");
    EXPECT_EQ(line(), "\"a: 1\"");
    // What is no node leaves the cursor where it is.
    for (const char* bad : {"null", "7", "'b'", "{steps: 'b'}", "{steps: [{key: 1}]}",
                            "{steps: [{index: -1}]}", "{document: 'x', steps: []}"}) {
        EXPECT_EQ(script(std::string("placeCursor(") + bad + ")"), "false") << bad;
        EXPECT_EQ(line(), "\"a: 1\"") << bad;
    }
}

TEST_P(TreeCursor, AListingHasNoCursor) {
    load("a: [\nb: 1\n");
    EXPECT_EQ(press("['ArrowDown', 'Home', '2']"), "[false,false,false]");
    EXPECT_EQ(node(), "null");
    EXPECT_EQ(script("placeCursor({document: null, steps: []})"), "false");
    EXPECT_EQ(script("document.querySelectorAll('[role=tree]').length"), "0");
}

INSTANTIATE_TEST_SUITE_P(Pages, TreeCursor,
                         ::testing::Values(PageKind::markup, PageKind::virtualised),
                         [](const ::testing::TestParamInfo<PageKind>& param) {
                             return param.param == PageKind::markup ? "Markup" : "Virtualised";
                         });

} // namespace
} // namespace quessel::page::test

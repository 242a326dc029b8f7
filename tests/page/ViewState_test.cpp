// The reader's view kept across a new page of the same file, on both kinds of tree page in the
// real web engine: the view taken as the host takes it, a page of the changed file loaded, the
// view restored and the cursor and the search put back as the host does, in that order.
#include "tests/page/support/PageFixture.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace quessel::page::test {
namespace {

// Five rows a record: key:, name: v-key, tags:, - a, - b.
std::string records(const std::vector<std::string>& keys) {
    std::string text;
    for (const std::string& key : keys) {
        text += key + ":\n  name: v-" + key + "\n  tags: [a, b]\n";
    }
    return text;
}

std::vector<std::string> keysFrom(int first, int last) {
    std::vector<std::string> keys;
    for (int i = first; i <= last; ++i) {
        keys.push_back("k" + std::to_string(i));
    }
    return keys;
}

class ViewState : public PageFixture, public ::testing::WithParamInterface<PageKind> {
protected:
    void load(std::string_view yaml) { loadDocumentAs(yaml, GetParam()); }

    void press(std::string_view key) {
        script("document.body.dispatchEvent(new KeyboardEvent('keydown', {key: '" +
               std::string(key) + "', bubbles: true, cancelable: true}))");
    }

    // The cursor put on a node and the node toggled, as the reader does with the keys.
    void toggle(std::string_view node) {
        ASSERT_EQ(script("placeCursor(" + std::string(node) + ")"), "true") << node;
        press(" ");
    }

    // The key of the line at the viewport's top as the engine lays it out, and the pixels of it
    // scrolled past.
    std::string topRow() {
        return script("(() => { let top = null, at = -Infinity;"
                      " for (const line of document.querySelectorAll('.line')) {"
                      "  if (line.closest('.virtual-probe') || line.offsetParent === null ||"
                      "      line.classList.contains('virtual-parked')) continue;"
                      "  const y = line.getBoundingClientRect().top;"
                      "  if (y <= 0.5 && y > at) { top = line; at = y; } }"
                      " const key = top && top.querySelector(':scope > .key');"
                      " return key && [key.textContent, Math.round(-at)]; })()");
    }

    // Scrolls the line of a node to the viewport's top, `past` pixels of it above; the cursor
    // goes there on the way.
    void scrollTo(std::string_view node, int past) {
        ASSERT_EQ(script("placeCursor(" + std::string(node) + ")"), "true") << node;
        script("(line => scrollTo(0, line.getBoundingClientRect().top + scrollY + " +
               std::to_string(past) + "))(document.querySelector('.line.cursor'))");
    }

    // The rows that show, walked with the cursor from the first, as their texts.
    std::string outline() {
        return script(
            "(() => { const key = k => document.body.dispatchEvent(new KeyboardEvent('keydown',"
            " {key: k, bubbles: true, cancelable: true})); key('Home');"
            " const lines = []; let last = null;"
            " for (;;) { const n = JSON.stringify(cursorNode()); if (n === last) break;"
            "  last = n; lines.push(cursorNode().line); key('j'); }"
            " return lines; })()");
    }

    // The shown rows that are collapsed: those with a preview.
    std::string collapsedRows() {
        return script("(" + outline() + ").filter(line => / [0-9]+ items$/.test(line))");
    }

    std::string scrollY() { return script("scrollY"); }
};

TEST_P(ViewState, CollapsedNodesAndTheTopRowAreFoundByPathOnTheChangedFile) {
    load(records(keysFrom(10, 69)));
    toggle("{document: null, steps: [{key: 'k12'}]}");
    toggle("{document: null, steps: [{key: 'k15'}, {key: 'tags'}]}");
    toggle("{document: null, steps: [{key: 'k40'}]}");
    toggle("{document: null, steps: [{key: 'k41'}, {key: 'tags'}]}");
    scrollTo("{document: null, steps: [{key: 'k30'}]}", 5);
    script("placeCursor({document: null, steps: [{key: 'k32'}, {key: 'name'}]})");
    const std::string top = topRow();
    ASSERT_EQ(top.substr(0, 7), "[\"k30\",");
    const std::string saved = script("JSON.stringify(viewState())");
    const std::string cursor = script("JSON.stringify(cursorNode())");

    // k05 comes before the top row, k11 and k15 with its collapsed tags go, k40 is now k71 and
    // k12 gains a node of its own.
    std::vector<std::string> keys = keysFrom(5, 5);
    for (const std::string& key : keysFrom(10, 70)) {
        if (key != "k11" && key != "k15" && key != "k40") {
            keys.push_back(key);
        }
    }
    keys.push_back("k71");
    std::string changed = records(keys);
    changed.insert(changed.find("k13:"), "  more: {q: 1}\n");
    load(changed);
    script("restoreViewState(JSON.parse(" + saved + "))");
    EXPECT_EQ(script("placeCursor(JSON.parse(" + cursor + "))"), "true");
    EXPECT_EQ(topRow(), top);
    EXPECT_EQ(script("cursorNode().line"), "\"name: v-k32\"");
    EXPECT_EQ(collapsedRows(), R"(["k12: 3 items","tags: 2 items"])");
    EXPECT_EQ(script("(" + outline() + ").filter(line => /^(k4[01]|k71)/.test(line))"),
              R"(["k41:","k71:"])");
}

TEST_P(ViewState, AVanishedTopRowGivesWayToItsNearestAncestor) {
    const std::string yaml = records(keysFrom(10, 69));
    load(yaml);
    scrollTo("{document: null, steps: [{key: 'k30'}, {key: 'tags'}, {index: 1}]}", 4);
    EXPECT_EQ(script("(s => [s.top.path, Math.round(s.top.offset)])(viewState())"),
              R"([[null,"k30","tags",1],4])");
    const std::string saved = script("JSON.stringify(viewState())");
    std::string changed = yaml;
    changed.replace(yaml.find("k30:"), records({"k30"}).size(), "k30:\n  tags: [a]\n");
    load(changed);
    script("restoreViewState(JSON.parse(" + saved + "))");
    EXPECT_EQ(script("(s => [s.top.path, Math.round(s.top.offset)])(viewState())"),
              R"([[null,"k30","tags"],0])");
    EXPECT_EQ(topRow(), R"(["tags",0])");
}

TEST_P(ViewState, AfterCollapseAllOnlyTheExpandedAreNamedAndNewNodesStayCollapsed) {
    load(records(keysFrom(10, 19)));
    script("collapseAll()");
    toggle("{document: null, steps: [{key: 'k13'}]}");
    EXPECT_EQ(script("(s => [s.collapsed, s.except])(viewState())"), R"([true,[[null,"k13"]]])");
    const std::string saved = script("JSON.stringify(viewState())");
    std::string changed = records(keysFrom(10, 20));
    changed.insert(changed.find("k14:"), "  more: {q: 1}\n");
    load(changed);
    script("restoreViewState(JSON.parse(" + saved + "))");
    EXPECT_EQ(script("(" + outline() + ").slice(2, 9)"),
              R"(["k12: 2 items","k13:","more: 1 items","name: v-k13","tags: 2 items",)"
              R"("k14: 2 items","k15: 2 items"])");
    EXPECT_EQ(script("(" + outline() + ").at(-1)"), R"("k20: 2 items")");
}

TEST_P(ViewState, AStreamAndKeysWithDotsQuotesAndOtherScripts) {
    const std::string first = "a: {x: 1}\n";
    const std::string second = "\"a.b\": {x: 1}\n\"q\\\"uote\": [1, 2]\n";
    const std::string third = "\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87: {z: [1, 2]}\n\"\": {e: 1}\n"
                              "more: {m: 1}\nother: {o: 1}\n";
    load(first + "---\n" + second + "---\n" + third);
    toggle("{document: 0, steps: []}");
    toggle("{document: 1, steps: [{key: 'a.b'}]}");
    toggle("{document: 1, steps: [{key: 'q\"uote'}]}");
    toggle("{document: 2, steps: [{key: '\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87'}, {key: 'z'}]}");
    toggle("{document: 2, steps: [{key: ''}]}");
    EXPECT_EQ(script("(s => [s.collapsed, s.except])(viewState())"),
              "[false,[[0],[1,\"a.b\"],[1,\"q\\\"uote\"],[2,\"\"],[2,\"\xD0\xBA\xD0\xBB\xD1\x8E"
              "\xD1\x87\",\"z\"]]]");
    const std::string saved = script("JSON.stringify(viewState())");
    load(first + "---\n" + second + "new: {n: 1}\n---\n" + third + "---\nw: {v: 1}\n");
    script("restoreViewState(JSON.parse(" + saved + "))");
    EXPECT_EQ(collapsedRows(), "[\"Document 1 1 items\",\"a.b: 1 items\",\"q\\\"uote: 2 items\","
                               "\": 1 items\",\"z: 2 items\"]");
}

TEST_P(ViewState, TheSearchComesBackAtItsMatchWithoutMovingTheView) {
    const std::string yaml = records(keysFrom(10, 69));
    load(yaml);
    EXPECT_EQ(search("tags").total, 60);
    navigate(true);
    navigate(true);
    toggle("{document: null, steps: [{key: 'k12'}]}");
    scrollTo("{document: null, steps: [{key: 'k40'}]}", 0);
    const std::string saved = script("JSON.stringify(viewState())");

    load(yaml);
    script("restoreViewState(JSON.parse(" + saved + "))");
    const std::string top = topRow();
    const std::string y = scrollY();
    EXPECT_EQ(script("placeCursor({document: null, steps: [{key: 'k43'}, {key: 'name'}]})"),
              "true");
    const MatchUpdate restored = search("tags", 3);
    EXPECT_EQ(std::pair(restored.current, restored.total), std::pair(3, 60));
    harness().settle(std::chrono::milliseconds(100));
    EXPECT_EQ(scrollY(), y);
    EXPECT_EQ(topRow(), top);
    EXPECT_EQ(script("cursorNode().line"), "\"name: v-k43\"") << "the cursor stays";
    if (GetParam() == PageKind::markup) {
        EXPECT_EQ(currentMarkPositions(), "[2]");
    }
    EXPECT_EQ(collapsedRows(), R"(["k12: 2 items"])") << "the current match stays hidden";

    EXPECT_EQ(navigate(true).current, 4);
    EXPECT_EQ(script("cursorNode().steps"), R"([{"key":"k13"},{"key":"tags"}])");
    const MatchUpdate pastTheEnd = search("tags", 99);
    EXPECT_EQ(std::pair(pastTheEnd.current, pastTheEnd.total), std::pair(1, 60));
    EXPECT_EQ(script("cursorNode().steps"), R"([{"key":"k13"},{"key":"tags"}])");
    EXPECT_EQ(navigate(false).current, 60);
}

TEST_P(ViewState, WhatIsNoStateChangesNothing) {
    load(records(keysFrom(10, 69)));
    toggle("{document: null, steps: [{key: 'k12'}]}");
    scrollTo("{document: null, steps: [{key: 'k20'}]}", 3);
    const std::string y = scrollY();
    for (const char* bad :
         {"null", "undefined", "7", "'x'", "[]", "{}", "{collapsed: 'yes', except: []}",
          "{collapsed: true}", "{collapsed: true, except: 'k12'}",
          "{collapsed: true, except: [[null, {key: 'k12'}]]}", "{collapsed: true, except: [[]]}",
          "{collapsed: true, except: [[-1]]}", "{collapsed: true, except: [[null, 1.5]]}",
          "{collapsed: true, except: [], top: {path: 'k30', offset: 0}}",
          "{collapsed: true, except: [], top: {path: [null, 'k30'], offset: 'x'}}",
          "{collapsed: true, except: [], top: 3}"}) {
        EXPECT_EQ(script(std::string("restoreViewState(") + bad + ")"), "undefined") << bad;
        EXPECT_EQ(scrollY(), y) << bad;
    }
    EXPECT_EQ(collapsedRows(), R"(["k12: 2 items"])");
}

TEST_P(ViewState, PagesWithoutATreeHaveNoState) {
    for (const char* yaml : {"a: [\nb: 1\n", "", "# only a comment\n", "just text"}) {
        load(yaml);
        EXPECT_EQ(script("viewState()"), "null") << yaml;
        EXPECT_EQ(script("restoreViewState({collapsed: true, except: [], top: null})"), "undefined")
            << yaml;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, ViewState,
                         ::testing::Values(PageKind::markup, PageKind::virtualised),
                         [](const ::testing::TestParamInfo<PageKind>& param) {
                             return param.param == PageKind::markup ? "Markup" : "Virtualised";
                         });

} // namespace
} // namespace quessel::page::test

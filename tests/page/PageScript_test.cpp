// The page script in the real web engine: collapsing, search, navigation and matchUpdate.
#include "tests/page/support/PageFixture.hpp"

#include <gtest/gtest.h>

namespace quessel::page::test {
namespace {

using yaml::Sequence;
using yaml::YamlValue;

class PageScript : public PageFixture {};

const YamlValue threeXs = Sequence{"x1", "x2", "x3"};

TEST_F(PageScript, SearchIsCaseInsensitiveAndKeepsTheTextsCase) {
    loadValue(mappingOf({{"name", "Name NAME"}}));
    const MatchUpdate update = search("NAME");
    EXPECT_EQ(update.current, 1);
    EXPECT_EQ(update.total, 3);
    EXPECT_EQ(script("Array.from(document.querySelectorAll('mark.highlight'), m => "
                     "m.textContent).join()"),
              R"("name,Name,NAME")");
}

TEST_F(PageScript, TheMessageBodyHoldsExactlyTwoIntegers) {
    loadValue(Sequence{"abc", "abc"});
    for (const MatchUpdate& update : {search("b"), navigate(true), search("")}) {
        EXPECT_EQ(update.members, (std::vector<std::string>{"current", "total"})) << update.json;
        EXPECT_TRUE(update.integers) << update.json;
    }
    EXPECT_EQ(harness().matchUpdates()[0].current, 1);
    EXPECT_EQ(harness().matchUpdates()[0].total, 2);
    EXPECT_EQ(harness().matchUpdates()[1].current, 2);
}

TEST_F(PageScript, MatchesAreFoundLeftToRightWithoutOverlapping) {
    loadValue(Sequence{"aaaa"});
    EXPECT_EQ(search("aa").total, 2);
    loadValue(Sequence{"aaa"});
    EXPECT_EQ(search("aa").total, 1);
    EXPECT_EQ(script("document.querySelector('mark').nextSibling.textContent"), R"("a")");
}

TEST_F(PageScript, AMatchNeverSpansTwoTextPieces) {
    loadValue(mappingOf({{"key", std::int64_t{1}}}));
    EXPECT_EQ(search("key:").total, 0);
    EXPECT_EQ(search("key").total, 1);
}

TEST_F(PageScript, TheFirstMatchBecomesCurrent) {
    loadValue(threeXs);
    search("x");
    EXPECT_EQ(currentMarkPositions(), "[0]");
    EXPECT_EQ(script("document.querySelectorAll('mark.current').length"), "1");
}

TEST_F(PageScript, NavigationWrapsAroundBothWays) {
    loadValue(threeXs);
    search("x");
    EXPECT_EQ(navigate(true).current, 2);
    EXPECT_EQ(navigate(true).current, 3);
    const MatchUpdate wrapped = navigate(true);
    EXPECT_EQ(wrapped.current, 1);
    EXPECT_EQ(wrapped.total, 3);
    EXPECT_EQ(currentMarkPositions(), "[0]");
    EXPECT_EQ(navigate(false).current, 3);
    EXPECT_EQ(currentMarkPositions(), "[2]");
    EXPECT_EQ(navigate(false).current, 2);
    EXPECT_EQ(currentMarkPositions(), "[1]");
}

TEST_F(PageScript, NavigationWithoutMatchesSendsNothing) {
    loadValue(mappingOf({{"a", "b"}}));
    script("navigateMatch(true)");
    search("nothing like this");
    script("navigateMatch(false)");
    // A marker message after the navigations: anything they had sent would arrive before it.
    const MatchUpdate marker = search("");
    ASSERT_EQ(harness().matchUpdates().size(), 2U);
    EXPECT_EQ(harness().matchUpdates()[0].json, R"({"current":0,"total":0})");
    EXPECT_EQ(marker.json, R"({"current":0,"total":0})");
}

TEST_F(PageScript, RepeatedSearchesNeverNestMarksAndClearingRestoresTheText) {
    loadValue(mappingOf({{"alpha", Sequence{"ab", "ba", "aab"}}, {"beta", "abba"}}));
    const std::string text = script("document.body.textContent");
    const std::string textNodes = script(countTextNodes);
    for (const char* query : {"a", "ab", "a", "b", "abba", "A"}) {
        search(query);
        EXPECT_EQ(script("document.querySelectorAll('mark mark').length"), "0") << query;
        EXPECT_EQ(script("document.body.textContent"), text) << query;
    }
    EXPECT_EQ(search("ab").total, 3);
    const MatchUpdate cleared = search("");
    EXPECT_EQ(cleared.current, 0);
    EXPECT_EQ(cleared.total, 0);
    EXPECT_EQ(script("document.querySelectorAll('mark').length"), "0");
    EXPECT_EQ(script(countTextNodes), textNodes);
}

TEST_F(PageScript, ATextWithoutMatchesMarksNothing) {
    loadValue(mappingOf({{"a", "b"}}));
    search("a");
    const MatchUpdate none = search("zzz");
    EXPECT_EQ(none.current, 0);
    EXPECT_EQ(none.total, 0);
    EXPECT_EQ(script("document.querySelectorAll('mark').length"), "0");
}

TEST_F(PageScript, ToggleCollapsesAndClickingAgainRestoresTheNode) {
    loadValue(mappingOf({{"list", Sequence{"one", "two"}}}));
    const std::string classes =
        "[...document.querySelectorAll('.content, .toggle, .collapsed-preview')].map(e => "
        "e.className)";
    EXPECT_EQ(script(classes), R"(["toggle","collapsed-preview","content"])");
    script("document.querySelector('.toggle').click()");
    EXPECT_EQ(script(classes),
              R"(["toggle collapsed","collapsed-preview visible","content collapsed"])");
    EXPECT_EQ(script("getComputedStyle(document.querySelector('.content')).display"), R"("none")");
    EXPECT_EQ(script("getComputedStyle(document.querySelector('.collapsed-preview')).display"),
              R"("inline")");
    script("document.querySelector('.toggle').click()");
    EXPECT_EQ(script(classes), R"(["toggle","collapsed-preview","content"])");
}

TEST_F(PageScript, ToggleOfAnUnknownIdDoesNothing) {
    loadValue(mappingOf({{"list", Sequence{std::int64_t{1}}}}));
    // The page describes its tree to assistive technology once painted; asking for the cursor
    // has it done now.
    script("cursorNode()");
    const std::string before = script("document.body.innerHTML");
    EXPECT_EQ(script("toggle('00000000-7'); 'survived'"), R"("survived")");
    EXPECT_EQ(script("document.body.innerHTML"), before);
}

TEST_F(PageScript, HiddenNodesPreviewsAndTogglesAreSearchedToo) {
    loadValue(mappingOf({{"outer", mappingOf({{"inner", mappingOf({{"hidden", "needle"}})},
                                              {"more", Sequence{std::int64_t{1}, std::int64_t{2},
                                                                std::int64_t{3}}}})}}));
    script("document.querySelectorAll('.toggle').forEach(t => t.click())");
    EXPECT_EQ(search("needle").total, 1);
    EXPECT_EQ(search("items").total, 3); // "2 items", "1 items" and "3 items"
    EXPECT_EQ(search("\u25BC").total, 3);
}

TEST_F(PageScript, WhitespaceBetweenTheBodysElementsIsSearched) {
    // Without a banner the body opens with "\n    " twice (one where the banner would stand):
    // eight spaces, one after the key's colon and four before the script; the text after the
    // script holds line breaks only.
    loadValue(mappingOf({{"a", std::int64_t{1}}}));
    EXPECT_EQ(search(" ").total, 13);
    // Four before the banner, four in "Syntax error on line 1", four between banner and
    // content, one in the listed line and four before the script.
    loadFailure("a: [", "1:5: error: parser: did not find expected node content");
    EXPECT_EQ(search(" ").total, 17);
}

TEST_F(PageScript, LineNumbersOfARawListingCanMatch) {
    loadFailure("x: 1\ny: [\nz: 2", "2:4: error: ...");
    EXPECT_EQ(search("2").total, 3); // line number 2, the banner's "line 2" and the value 2
}

TEST_F(PageScript, TheDeepestDocumentTheLoaderAcceptsCanBeSearched) {
    loadDocument(std::string(999, '[') + "deep" + std::string(999, ']'));
    EXPECT_EQ(search("deep").total, 1);
    EXPECT_EQ(search("\u25BC").total, 998);
}

// The engine's HTML parser nests at most 512 elements deep and flattens the rest, two elements
// per level; within that, collapsing the outermost node hides the innermost value.
TEST_F(PageScript, CollapsingAnOuterNodeHidesEverythingInside) {
    loadDocument(std::string(200, '[') + "deep" + std::string(200, ']'));
    search("deep");
    EXPECT_EQ(script("document.querySelector('mark.current').getClientRects().length"), "1");
    script("document.querySelector('.toggle').click()");
    EXPECT_EQ(script("document.querySelector('mark.current').getClientRects().length"), "0");
}

TEST_F(PageScript, CutsFollowTheLowerCasedTextWhenLowerCasingChangesItsLength) {
    // U+0130 lower-cases to two UTF-16 units, so the cut lands one unit to the right.
    loadValue(Sequence{"\xC4\xB0"
                       "ab"});
    EXPECT_EQ(search("ab").total, 1);
    EXPECT_EQ(script("document.querySelector('mark').textContent"), R"("b")");
}

// Two matches of "needle" in subtrees that can be collapsed, far apart in a page taller than the
// view: b > inner > needle, and d > x > "needle two".
YamlValue farApartInSubtrees() {
    const YamlValue filler = Sequence(150, YamlValue("filler"));
    return mappingOf({{"a", filler},
                      {"b", mappingOf({{"inner", mappingOf({{"needle", "one"}})}})},
                      {"c", filler},
                      {"d", mappingOf({{"x", Sequence{"needle two"}}})},
                      {"e", filler}});
}

class CurrentMatch : public PageFixture {
protected:
    // The node id of the collapsible line whose key is `key`.
    std::string idOf(std::string_view key) {
        const std::string json =
            script("[...document.querySelectorAll('.line')].find(l => l.children[1] && "
                   "l.children[1].textContent === '" +
                   std::string(key) + "').firstElementChild.id.substring(7)");
        return json.substr(1, json.size() - 2);
    }

    void collapse(std::string_view key) {
        script("toggle('" + idOf(key) + "')");
        ASSERT_EQ(state(key), "collapsed") << key;
    }

    // "expanded" or "collapsed" when toggle, preview and content agree, "mixed" otherwise.
    std::string state(std::string_view key) {
        const std::string id = idOf(key);
        const std::string json =
            script("(() => { const t = document.getElementById('toggle-" + id +
                   "').classList.contains('collapsed'); const p = document.getElementById("
                   "'preview-" +
                   id +
                   "').classList.contains('visible'); const c = document.getElementById("
                   "'content-" +
                   id +
                   "').classList.contains('collapsed'); return t && p && c ? 'collapsed' "
                   ": !t && !p && !c ? 'expanded' : 'mixed'; })()");
        return json.substr(1, json.size() - 2);
    }

    // Waits for the page's smooth scroll to bring the current mark wholly into the view.
    bool currentMarkInView() {
        return iterateUntil([this] {
            return harness().evaluate(
                       "(() => { const r = document.querySelector('mark.current')"
                       ".getBoundingClientRect(); return r.height > 0 && r.top >= 0 && "
                       "r.bottom <= innerHeight; })()") == "true";
        });
    }

    void expectShown(std::string_view match, const MatchUpdate& update, int current) {
        EXPECT_EQ(update.current, current) << match;
        EXPECT_EQ(update.total, 2) << match;
        EXPECT_EQ(script("document.querySelector('mark.current').parentElement.textContent"),
                  '"' + std::string(match) + '"');
        EXPECT_EQ(script("document.querySelector('mark.current').closest('.content.collapsed')"),
                  "null")
            << match;
        EXPECT_TRUE(currentMarkInView()) << match;
    }
};

TEST_F(CurrentMatch, ASearchOpensTheCollapsedNodesAroundTheFirstMatchAndScrollsToIt) {
    loadValue(farApartInSubtrees());
    ASSERT_EQ(search("needle").total, 2);
    search("");
    // The first search scrolled smoothly towards its match; start again from the top.
    script("window.scrollTo({top: 0, behavior: 'instant'})");
    ASSERT_TRUE(iterateUntil([this] { return script("scrollY") == "0"; }));
    collapse("inner");
    collapse("b");
    collapse("d");
    expectShown("needle", search("needle"), 1);
    EXPECT_EQ(state("b"), "expanded");
    EXPECT_EQ(state("inner"), "expanded");
    EXPECT_EQ(state("d"), "collapsed") << "only the current match opens its nodes";
    expectShown("needle two", navigate(true), 2);
    EXPECT_EQ(state("d"), "expanded");
    EXPECT_EQ(state("x"), "expanded");
}

TEST_F(CurrentMatch, NavigationOpensCollapsedNodesAfterWrappingAroundBothWays) {
    loadValue(farApartInSubtrees());
    search("needle");
    navigate(true);
    collapse("b");
    expectShown("needle", navigate(true), 1);
    EXPECT_EQ(state("b"), "expanded");
    collapse("d");
    expectShown("needle two", navigate(false), 2);
    EXPECT_EQ(state("d"), "expanded");
    collapse("inner");
    expectShown("needle", navigate(false), 1);
    EXPECT_EQ(state("inner"), "expanded");
    EXPECT_EQ(script("document.querySelectorAll('mark.current').length"), "1");
}

TEST_F(CurrentMatch, AMatchInACollapsedNodesOwnPreviewLeavesItCollapsed) {
    loadValue(mappingOf({{"outer", mappingOf({{"list", Sequence{"p", "q", "r"}}})}}));
    collapse("list");
    collapse("outer");
    const MatchUpdate update = search("3 items");
    EXPECT_EQ(update.total, 1);
    EXPECT_EQ(state("outer"), "expanded");
    EXPECT_EQ(state("list"), "collapsed");
    EXPECT_EQ(script("getComputedStyle(document.querySelector('mark.current')).display"),
              R"("inline")");
    EXPECT_EQ(script("document.querySelector('mark.current').getClientRects().length"), "1");
}

// A document holding NUL is loaded with its length: the lines after the NUL are there and the
// page's script, which stands after the whole document, runs.
TEST_F(PageScript, ADocumentHoldingNulShowsWholeWithItsScript) {
    loadDocument("a: \"x\\0y\"\nb: after the nul\nc: [1, 2]\n");
    EXPECT_EQ(script("document.querySelectorAll('.line').length"), "5");
    EXPECT_EQ(script("document.querySelectorAll('.line')[1].textContent"), R"("b: after the nul")");
    EXPECT_EQ(search("after the nul").total, 1);
    EXPECT_EQ(search("xy").total, 1) << "the HTML parser drops the NUL itself";
}

} // namespace
} // namespace quessel::page::test

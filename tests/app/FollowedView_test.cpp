// What the reader was looking at survives another program rewriting the file, on both page kinds:
// the folding, the row at the top, the cursor and the search with its current match.
#include "app/FileFollower.hpp"
#include "tests/app/PageProbe.hpp"
#include "tests/app/WindowFixture.hpp"
#include "tests/support/MainLoop.hpp"
#include "viewer_core/NotificationCenter.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>

namespace quessel::app {
namespace {

using namespace std::chrono_literals;
using quessel::testing::evaluate;
using quessel::testing::runUntil;

// Entries k1000… with a name and tags each; `from` shifts the values, `skip` leaves one out.
std::string entries(int count, const std::string& value, int skip = -1) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i == skip) {
            continue;
        }
        const std::string key = "k" + std::to_string(1000 + i);
        text += key + ":\n  name: " + value + " " + std::to_string(i) + "\n  tags: [a, b]\n";
    }
    return text;
}

// The parameter: how many entries, a few for the all-markup page, many for the virtualised one.
class FollowedViewTest : public quessel::testing::WindowFixture,
                         public ::testing::WithParamInterface<int> {
protected:
    FollowedViewTest() {
        follower =
            std::make_unique<FileFollower>(*appState, [](std::function<void()> then) { then(); });
        follower->setReloadsWhenChanged(true);
        content().setFileFollower(follower.get());
    }
    ~FollowedViewTest() override { content().setFileFollower(nullptr); }

    std::string script(const std::string& text) { return evaluate(page(), text); }
    void press(const std::string& key) {
        script("document.body.dispatchEvent(new KeyboardEvent('keydown', {key: '" + key +
               "', bubbles: true, cancelable: true}))");
    }
    void placeCursor(const std::string& node) {
        ASSERT_EQ(script("placeCursor(" + node + ")"), "true") << node;
    }
    void collapse(const std::string& node) {
        placeCursor(node);
        press(" ");
    }
    // The node's line at the top of the viewport, `past` pixels of it above.
    void scrollTo(const std::string& node, int past) {
        placeCursor(node);
        script("(line => scrollTo(0, line.getBoundingClientRect().top + scrollY + " +
               std::to_string(past) + "))(document.querySelector('.line.cursor'))");
    }
    void search(const std::string& text, int nexts) {
        appState->setShowSearch(true);
        settle();
        content().searchBar().field().set_text(text);
        ASSERT_TRUE(runUntil([&] { return content().currentMatch() == 1; }));
        for (int i = 0; i < nexts; ++i) {
            core::NotificationCenter::defaultCenter().post(core::viewerFindNext);
            ASSERT_TRUE(runUntil([&] { return content().currentMatch() == i + 2; }));
        }
    }
    std::string view() { return script("JSON.stringify(viewState())"); }
    std::string cursor() {
        return script("(n => n && JSON.stringify([n.document, n.steps]))(cursorNode())");
    }

    // Another program writes the file in place; waits until the new page shows.
    void rewrite(const std::string& text) {
        script("window.previousPage = true");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        ASSERT_TRUE(runUntil([&] { return appState->fileContent() == text; }, 10s));
        settle();
        ASSERT_TRUE(runUntil([&] { return !content().renderedView().busy(); }, 30s));
        ASSERT_TRUE(pageHas("!window.previousPage"));
        settle();
    }

    void openEntries(const std::string& value) {
        openDocument("view.yaml", entries(GetParam(), value));
        path = (folder / "view.yaml").string();
        ASSERT_TRUE(pageHas("viewState() !== null"));
    }

    std::unique_ptr<FileFollower> follower;
    std::string path;
};

TEST_P(FollowedViewTest, FoldingTopRowCursorAndSearchSurviveARewrite) {
    openEntries("one");
    search("name", 2);
    ASSERT_EQ(content().currentMatch(), 3);
    collapse("{document: null, steps: [{key: 'k1003'}]}");
    collapse("{document: null, steps: [{key: 'k1005'}, {key: 'tags'}]}");
    placeCursor("{document: null, steps: [{key: 'k1007'}, {key: 'name'}]}");
    scrollTo("{document: null, steps: [{key: 'k1006'}]}", 3);
    placeCursor("{document: null, steps: [{key: 'k1007'}, {key: 'name'}]}");
    const std::string before = view();
    const std::string cursorBefore = cursor();
    ASSERT_NE(before, "null");

    // New values, an entry gone below the place read, and a new one above it.
    rewrite("a_first: new\n" + entries(GetParam(), "two", 9));
    EXPECT_EQ(view(), before);
    EXPECT_EQ(cursor(), cursorBefore);
    EXPECT_EQ(content().currentMatch(), 3);
    EXPECT_EQ(content().totalMatches(), GetParam() - 1);
    EXPECT_EQ(script("document.querySelector('.line.cursor > .key').textContent"), "name");
}

TEST_P(FollowedViewTest, AnInvalidVersionInBetweenGivesTheViewBackWhenFixed) {
    openEntries("one");
    collapse("{document: null, steps: [{key: 'k1002'}]}");
    scrollTo("{document: null, steps: [{key: 'k1004'}]}", 0);
    const std::string before = view();

    rewrite("k1000: [unclosed\n");
    EXPECT_EQ(script("document.querySelectorAll('.error-banner').length"), "1");
    rewrite(entries(GetParam(), "three"));
    EXPECT_EQ(view(), before);
}

TEST_P(FollowedViewTest, ANodeThatWentAwayGivesItsPlaceToItsParent) {
    openEntries("one");
    scrollTo("{document: null, steps: [{key: 'k1004'}, {key: 'tags'}, {index: 1}]}", 0);
    placeCursor("{document: null, steps: [{key: 'k1004'}, {key: 'tags'}, {index: 1}]}");
    std::string text = entries(GetParam(), "one");
    const std::string tags = "k1004:\n  name: one 4\n  tags: [a, b]\n";
    text.replace(text.find(tags), tags.size(), "k1004:\n  name: one 4\n  tags: [a]\n");
    rewrite(text);
    EXPECT_EQ(cursor(), R"([null,[{"key":"k1004"},{"key":"tags"}]])");
}

std::string pageKindOf(const ::testing::TestParamInfo<int>& entryCount) {
    return entryCount.param < 100 ? "markup" : "virtualised";
}

INSTANTIATE_TEST_SUITE_P(BothPageKinds, FollowedViewTest, ::testing::Values(30, 400), pageKindOf);

} // namespace
} // namespace quessel::app

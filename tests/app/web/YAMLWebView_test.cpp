// The web view host in a real window: search round trip, zoom in place, page replacement, counts.
#include "app/web/YAMLWebView.hpp"
#include "tests/app/PageProbe.hpp"
#include "tests/app/WindowFixture.hpp"
#include "tests/support/Click.hpp"
#include "tests/support/MainLoop.hpp"

#include <adwaita.h>

#include <atomic>

namespace quessel::app::web {
namespace {

using page::Appearance;

using quessel::testing::evaluate;
using quessel::testing::runUntil;

class YAMLWebViewTest : public quessel::testing::WindowFixture {
protected:
    // Three "alpha" keys, and "it's" once.
    void openSearchable() {
        openDocument("list.yaml", "alpha1: one\nalpha2: it's\nnested:\n  alpha3: three\n");
        appState->setShowSearch(true);
        settle();
    }
    core::SearchBar& bar() { return content().searchBar(); }
    bool countReads(const std::string& text) {
        const bool reached = runUntil([&] { return bar().countLabel().get_text().raw() == text; });
        EXPECT_TRUE(reached) << "the count reads " << bar().countLabel().get_text().raw();
        return reached;
    }
};

TEST_F(YAMLWebViewTest, TypingSearchesAndTheCountsComeBack) {
    openSearchable();
    bar().setSearchText("alpha");
    ASSERT_TRUE(countReads("1/3"));
    EXPECT_EQ(content().currentMatch(), 1);
    EXPECT_EQ(content().totalMatches(), 3);
    EXPECT_TRUE(bar().nextButton().get_sensitive());
    quessel::testing::click(bar().nextButton());
    ASSERT_TRUE(countReads("2/3"));
    quessel::testing::click(bar().previousButton());
    quessel::testing::click(bar().previousButton());
    ASSERT_TRUE(countReads("3/3")) << "previous wraps around";
    bar().setSearchText("ALPHA2");
    ASSERT_TRUE(countReads("1/1")) << "search ignores case";
    bar().setSearchText("absent");
    ASSERT_TRUE(countReads("0 results"));
    EXPECT_FALSE(bar().nextButton().get_sensitive());
    EXPECT_FALSE(bar().previousButton().get_sensitive());
}

TEST_F(YAMLWebViewTest, SearchTextsReachThePageIntact) {
    openSearchable();
    bar().setSearchText("it's");
    ASSERT_TRUE(countReads("1/1"));
    bar().setSearchText("absent");
    ASSERT_TRUE(countReads("0 results"));
    // A line break used to end the script literal; now the page answers (with no match).
    content().setTotalMatches(7);
    bar().setSearchText("it\ns");
    ASSERT_TRUE(runUntil([&] { return content().totalMatches() == 0; }));
}

TEST_F(YAMLWebViewTest, DoneClosesTheBarAndClearsTheMarks) {
    openSearchable();
    bar().setSearchText("alpha");
    ASSERT_TRUE(countReads("1/3"));
    quessel::testing::click(bar().doneButton());
    settle();
    EXPECT_FALSE(appState->showSearch());
    EXPECT_FALSE(bar().get_visible());
    EXPECT_EQ(content().searchText(), "");
    EXPECT_TRUE(pageHas("document.querySelectorAll('mark.highlight').length === 0"));
}

TEST_F(YAMLWebViewTest, ZoomAppliesInPlaceAndKeepsCollapsedNodes) {
    openDocument("tree.yaml", "outer:\n  inner: 1\n  other: 2\n");
    evaluate(page(), "window.samePage = true; document.querySelector('.toggle').click()");
    ASSERT_TRUE(pageHas("document.querySelector('.content.collapsed')"));
    settings.setFontSize(16.9);
    settle();
    EXPECT_TRUE(pageHas("document.body.style.fontSize === '16px'"));
    EXPECT_EQ(evaluate(page(), "window.samePage === true && "
                               "!!document.querySelector('.content.collapsed')"),
              "true");
    settings.setFontSize(14);
    settle();
}

TEST_F(YAMLWebViewTest, ATextChangeReplacesThePageWhileTheCountsStay) {
    openSearchable();
    bar().setSearchText("alpha");
    ASSERT_TRUE(countReads("1/3"));
    evaluate(page(), "window.samePage = true");
    appState->setFileContent("fresh: page\n");
    settle();
    EXPECT_TRUE(pageHas("!window.samePage && document.querySelector('.key').textContent === "
                        "'fresh'"));
    EXPECT_EQ(evaluate(page(), "document.querySelectorAll('mark.highlight').length"), "0");
    quessel::testing::runFor(std::chrono::milliseconds(200));
    EXPECT_EQ(bar().countLabel().get_text(), "1/3");
}

TEST_F(YAMLWebViewTest, TypingInTheEditorMakesNoPageUntilThePageShowsAgain) {
    auto made = std::make_shared<std::atomic<int>>(0);
    replaceWindow([made, pages = documentPages()](std::string_view content, int fontSize,
                                                  Appearance appearance) {
        ++*made;
        return pages(content, fontSize, appearance);
    });
    openDocument("a.yaml", "a: 1\n");
    EXPECT_EQ(*made, 1);
    appState->setIsEditing(true);
    settle();
    evaluate(page(), "window.samePage = true");
    auto buffer = content().editor().textView().get_buffer();
    buffer->place_cursor(buffer->end());
    for (const char* keystroke : {"b", ":", " ", "2", "\n"}) {
        buffer->insert_at_cursor(keystroke);
        settle();
    }
    EXPECT_EQ(appState->fileContent(), "a: 1\nb: 2\n");
    EXPECT_EQ(content().renderedView().coordinator().lastContent(), "a: 1\n");
    EXPECT_FALSE(content().renderedView().busy());
    appState->setIsEditing(false);
    settle();
    EXPECT_TRUE(pageHas("!window.samePage && document.querySelectorAll('.key').length === 2"));
    EXPECT_EQ(*made, 2) << "one page for the return to the viewer, none per keystroke";
}

TEST_F(YAMLWebViewTest, TakesTheAppearanceOfTheMomentThePageIsGenerated) {
    AdwStyleManager* style = adw_style_manager_get_default();
    const auto background = "getComputedStyle(document.body).backgroundColor";
    adw_style_manager_set_color_scheme(style, ADW_COLOR_SCHEME_FORCE_DARK);
    openDocument("a.yaml", "a: 1\n");
    EXPECT_EQ(evaluate(page(), background), "rgb(30, 30, 30)");
    adw_style_manager_set_color_scheme(style, ADW_COLOR_SCHEME_FORCE_LIGHT);
    settle();
    EXPECT_EQ(evaluate(page(), background), "rgb(30, 30, 30)") << "regenerated without a change";
    appState->setFileContent("a: 2\n");
    settle();
    EXPECT_TRUE(pageHas(std::string(background) + " === 'rgb(255, 255, 255)'"));
    adw_style_manager_set_color_scheme(style, ADW_COLOR_SCHEME_DEFAULT);
}

TEST(Coordinator, AcceptsOnlyObjectsWithIntegerCountsAndWritesThemOnTheNextTurn) {
    JSCContext* context = jsc_context_new();
    auto counts = [&](const char* script) {
        JSCValue* value = jsc_context_evaluate(context, script, -1);
        auto result = Coordinator::readCounts(value);
        g_object_unref(value);
        return result;
    };
    ASSERT_TRUE(counts("({current: 2, total: 15})"));
    EXPECT_EQ(counts("({current: 2, total: 15})")->total, 15);
    EXPECT_TRUE(counts("({current: 0, total: 0, extra: 'x'})"));
    for (const char* bad : {"({current: 1})", "({current: '1', total: 2})",
                            "({current: 1.5, total: 2})", "({current: 1, total: Infinity})",
                            "({current: 1, total: 1e12})", "({current: true, total: 2})", "[1, 2]",
                            "null", "'text'", "42", "({current: null, total: 2})"}) {
        EXPECT_FALSE(counts(bad)) << bad;
    }
    int current = -1;
    int total = -1;
    core::NotificationCenter center;
    auto coordinator =
        Coordinator::create([&](int v) { current = v; }, [&](int v) { total = v; }, center);
    JSCValue* body = jsc_context_evaluate(context, "({current: 3, total: 4})", -1);
    coordinator->receive(body);
    EXPECT_EQ(total, -1) << "written at once instead of one turn later";
    quessel::testing::drainPending();
    EXPECT_EQ(current, 3);
    EXPECT_EQ(total, 4);
    coordinator->receive(body);
    coordinator->detach();
    current = -1;
    quessel::testing::drainPending();
    EXPECT_EQ(current, -1) << "a detached coordinator wrote into a window that is gone";
    center.post(core::viewerFindNext); // no web view any more: nothing happens
    g_object_unref(body);
    g_object_unref(context);
}

TEST(YAMLWebView, AnEmptyTextLoadsNothingAndTheSameTextIsMadeOnce) {
    std::atomic<int> generated = 0;
    core::NotificationCenter center;
    YAMLWebView view(
        [&](std::string_view, int, Appearance) {
            ++generated;
            return page::GeneratedPage{"<p>x</p>", std::nullopt, 0};
        },
        [](int) {}, [](int) {}, center);
    view.update("", 14);
    view.update("", 16);
    EXPECT_FALSE(view.busy());
    view.update("a: 1", 16);
    EXPECT_TRUE(view.busy());
    view.update("a: 1", 16);
    ASSERT_TRUE(runUntil([&] { return !view.busy(); }));
    EXPECT_EQ(generated, 1);
}

// A document of many lines gets the virtualised page in the window, and the search bar drives
// it as it drives the markup page.
TEST_F(YAMLWebViewTest, DocumentsOfManyLinesGetTheVirtualisedPageAndSearchAlike) {
    const auto document = [](int lines) {
        std::string text;
        for (int line = 0; line < lines; ++line) {
            text += "key" + std::to_string(line) + ": alpha\n";
        }
        return text;
    };
    openDocument("small.yaml", document(1000));
    EXPECT_TRUE(pageHas("document.querySelectorAll('.line').length === 1000 && "
                        "document.getElementById('virtual-content') === null"));
    openDocument("large.yaml", document(1001));
    EXPECT_TRUE(pageHas("document.getElementById('virtual-content') !== null && "
                        "document.querySelectorAll('#virtual-content .line').length > 0"));
    appState->setShowSearch(true);
    settle();
    bar().setSearchText("alpha");
    ASSERT_TRUE(countReads("1/1001"));
    quessel::testing::click(bar().previousButton());
    ASSERT_TRUE(countReads("1001/1001")) << "previous wraps around to the last row";
    EXPECT_TRUE(pageHas("(() => { const m = document.querySelector('mark.current'); if (!m) "
                        "return false; const r = m.getBoundingClientRect(); return "
                        "m.closest('.line').textContent === 'key999: alpha' && r.top >= 0 && "
                        "r.bottom <= innerHeight; })()"));
}

} // namespace
} // namespace quessel::app::web

// The search bar: what it posts when, its count and arrows, Done and Escape, Shift+Return.
#include "tests/support/Click.hpp"
#include "tests/support/MainLoop.hpp"
#include "viewer_core/gtk/SearchBar.hpp"

#include <gtest/gtest.h>
#include <gtkmm/shortcutcontroller.h>
#include <gtkmm/window.h>

namespace quessel::core {
namespace {

class SearchBarTest : public ::testing::Test {
protected:
    SearchBarTest() {
        for (auto name : {viewerSearchQueryChanged, viewerFindNext, viewerFindPrevious}) {
            tokens.push_back(center.addObserver(name, [this](const Notification& note) {
                const auto* text = std::any_cast<std::string>(&note.object);
                log.push_back(text != nullptr ? note.name + ":" + *text : note.name);
            }));
        }
    }
    bool pressReturn(GdkModifierType modifiers) {
        gboolean handled = FALSE;
        g_signal_emit_by_name(bar.fieldKeys()->gobj(), "key-pressed", GDK_KEY_Return, 36u,
                              modifiers, &handled);
        return handled;
    }

    NotificationCenter center;
    std::vector<ObserverToken> tokens;
    std::vector<std::string> log;
    std::string boundText;
    SearchBar bar{[this](const std::string& text) { boundText = text; },
                  [this] { log.push_back("dismiss"); }, center};
};

TEST_F(SearchBarTest, ShowsNoClearButtonOrCountAndDisabledArrowsWhileEmpty) {
    EXPECT_FALSE(bar.clearButton().get_visible());
    EXPECT_FALSE(bar.countLabel().get_visible());
    EXPECT_FALSE(bar.previousButton().get_sensitive());
    EXPECT_FALSE(bar.nextButton().get_sensitive());
    EXPECT_EQ(bar.field().get_placeholder_text(), "Find in document...");
    EXPECT_EQ(bar.previousButton().get_tooltip_text(), "Find previous (Shift+Enter)");
    EXPECT_EQ(bar.nextButton().get_tooltip_text(), "Find next (Enter)");
    EXPECT_EQ(bar.doneButton().get_label(), "Done");
}

TEST_F(SearchBarTest, PostsEveryTextChangeAndTheClearButtonPostsTheEmptyText) {
    // Typed one character at a time, as the keyboard does.
    for (const char* character : {"n", "a"}) {
        int position = bar.field().get_text_length();
        bar.field().insert_text(character, 1, position);
    }
    EXPECT_EQ(boundText, "na");
    EXPECT_TRUE(bar.clearButton().get_visible());
    quessel::testing::click(bar.clearButton());
    EXPECT_EQ(log,
              (std::vector<std::string>{"viewerSearchQueryChanged:n", "viewerSearchQueryChanged:na",
                                        "viewerSearchQueryChanged:"}));
    EXPECT_EQ(boundText, "");
}

TEST_F(SearchBarTest, CountsReadZeroResultsOrCurrentSlashTotal) {
    bar.field().set_text("x");
    bar.setMatches(0, 0);
    EXPECT_TRUE(bar.countLabel().get_visible());
    EXPECT_EQ(bar.countLabel().get_text(), "0 results");
    EXPECT_FALSE(bar.nextButton().get_sensitive());
    bar.setMatches(2, 15);
    EXPECT_EQ(bar.countLabel().get_text(), "2/15");
    EXPECT_TRUE(bar.previousButton().get_sensitive());
    EXPECT_TRUE(bar.nextButton().get_sensitive());
}

TEST_F(SearchBarTest, ReturnFindsNextEvenWithoutMatchesAndShiftReturnFindsPrevious) {
    EXPECT_TRUE(pressReturn(GdkModifierType(0)));
    EXPECT_TRUE(pressReturn(GDK_SHIFT_MASK));
    EXPECT_EQ(log, (std::vector<std::string>{"viewerFindNext", "viewerFindPrevious"}));
}

TEST_F(SearchBarTest, ArrowsPostNextAndPrevious) {
    bar.setMatches(1, 3);
    quessel::testing::click(bar.nextButton());
    quessel::testing::click(bar.previousButton());
    EXPECT_EQ(log, (std::vector<std::string>{"viewerFindNext", "viewerFindPrevious"}));
}

TEST_F(SearchBarTest, DoneDismissesFirstThenEmptiesTheText) {
    bar.field().set_text("key");
    log.clear();
    quessel::testing::click(bar.doneButton());
    EXPECT_EQ(log, (std::vector<std::string>{"dismiss", "viewerSearchQueryChanged:"}));
    EXPECT_EQ(bar.searchText(), "");
}

TEST_F(SearchBarTest, AHiddenBarPostsNothing) {
    bar.set_visible(false);
    bar.field().set_text("quiet");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(boundText, "quiet");
}

TEST_F(SearchBarTest, TakesFocusWhenShownAndEscapeActsAsDone) {
    Gtk::Window window;
    Gtk::Box box(Gtk::Orientation::VERTICAL);
    Gtk::Entry elsewhere;
    box.append(elsewhere);
    box.append(bar);
    window.set_child(box);
    window.present();
    ASSERT_TRUE(quessel::testing::runUntil([&] { return bar.get_mapped(); }));
    auto* focus = window.get_focus();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus == &bar.field() || focus->is_ancestor(bar.field()));
    bar.field().set_text("abc");
    log.clear();
    elsewhere.grab_focus();
    // Escape anywhere in the window reaches the bar's window-wide shortcut.
    auto shortcuts = bar.observe_controllers();
    bool escaped = false;
    for (guint i = 0; i < shortcuts->get_n_items(); ++i) {
        auto controller =
            std::dynamic_pointer_cast<Gtk::ShortcutController>(shortcuts->get_object(i));
        if (!controller) {
            continue;
        }
        EXPECT_EQ(controller->get_scope(), Gtk::ShortcutScope::GLOBAL);
        auto shortcut = std::dynamic_pointer_cast<Gtk::Shortcut>(controller->get_object(0));
        ASSERT_TRUE(shortcut);
        EXPECT_EQ(shortcut->get_trigger()->to_string(), "Escape");
        escaped = shortcut->get_action()->activate(bar);
    }
    EXPECT_TRUE(escaped);
    EXPECT_EQ(log, (std::vector<std::string>{"dismiss", "viewerSearchQueryChanged:"}));
    window.unset_child();
}

} // namespace
} // namespace quessel::core

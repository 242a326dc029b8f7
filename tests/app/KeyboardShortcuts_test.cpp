// The Keyboard Shortcuts window: it lists every shortcut the application has, and only those.
#include "app/KeyboardShortcuts.hpp"
#include "app/MainWindow.hpp"
#include "tests/app/AppFixture.hpp"
#include "tests/support/MainLoop.hpp"
#include "viewer_core/GLibHandles.hpp"
#include "viewer_core/GObjectPtr.hpp"

#include <set>

namespace quessel::app {
namespace {

class KeyboardShortcutsTest : public AppFixture {};

std::set<std::string> listedActions() {
    std::set<std::string> actions;
    for (const ShortcutGroup& group : keyboardShortcuts()) {
        for (const KeyboardShortcut& shortcut : group.shortcuts) {
            if (!shortcut.action.empty()) {
                actions.insert(shortcut.action);
            }
        }
    }
    return actions;
}

TEST_F(KeyboardShortcutsTest, ListsEveryActionWithShortcutsAndNoneWithout) {
    window();
    std::set<std::string> withShortcuts;
    for (const auto& action : application->list_action_descriptions()) {
        if (!application->get_accels_for_action(action).empty()) {
            withShortcuts.insert(action);
        }
    }
    EXPECT_EQ(listedActions(), withShortcuts);
}

TEST_F(KeyboardShortcutsTest, EveryPageKeyIsAnAcceleratorGtkReads) {
    for (const ShortcutGroup& group : keyboardShortcuts()) {
        EXPECT_FALSE(group.shortcuts.empty()) << group.title;
        for (const KeyboardShortcut& shortcut : group.shortcuts) {
            EXPECT_NE(shortcut.action.empty(), shortcut.keys.empty()) << shortcut.title;
            std::string keys = shortcut.keys;
            for (std::size_t start = 0; start < keys.size();) {
                const std::size_t end = std::min(keys.find(' ', start), keys.size());
                std::string key = keys.substr(start, end - start);
                if (const auto range = key.find("..."); range != std::string::npos) {
                    key = key.substr(0, range);
                }
                guint keyval = 0;
                EXPECT_TRUE(gtk_accelerator_parse(key.c_str(), &keyval, nullptr) && keyval != 0)
                    << shortcut.title << ": " << key;
                start = end + 1;
            }
        }
    }
}

TEST_F(KeyboardShortcutsTest, TheWindowBuildsWithOneEntryPerShortcut) {
    const std::string ui = shortcutsWindowUi();
    const auto builder = core::GObjectPtr<GtkBuilder>::adopt(gtk_builder_new());
    GError* raw = nullptr;
    ASSERT_TRUE(gtk_builder_add_from_string(builder.get(), ui.c_str(),
                                            static_cast<gssize>(ui.size()), &raw))
        << core::GErrorPtr(raw).get()->message;
    GObject* shortcuts = gtk_builder_get_object(builder.get(), "shortcuts");
    ASSERT_TRUE(GTK_IS_SHORTCUTS_WINDOW(shortcuts));
    std::size_t entries = 0;
    GSList* objects = gtk_builder_get_objects(builder.get());
    for (GSList* item = objects; item != nullptr; item = item->next) {
        entries += GTK_IS_SHORTCUTS_SHORTCUT(item->data) ? 1 : 0;
    }
    g_slist_free(objects);
    std::size_t listed = 0;
    for (const ShortcutGroup& group : keyboardShortcuts()) {
        listed += group.shortcuts.size();
    }
    EXPECT_EQ(entries, listed);
    gtk_window_destroy(GTK_WINDOW(shortcuts));
}

TEST_F(KeyboardShortcutsTest, TheHelpMenuItemShowsIt) {
    MainWindow& shown = window();
    shown.present();
    quessel::testing::drainPending();
    GtkShortcutsWindow* overlay = gtk_application_window_get_help_overlay(shown.gobj());
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(shown.get_action_enabled("show-help-overlay"));
    shown.activate_action("win.show-help-overlay");
    EXPECT_TRUE(
        quessel::testing::runUntil([&] { return gtk_widget_get_visible(GTK_WIDGET(overlay)); }));
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(overlay)), GTK_WINDOW(shown.gobj()));
}

} // namespace
} // namespace quessel::app

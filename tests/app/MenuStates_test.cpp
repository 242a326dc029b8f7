// The menu bar: exact titles and shortcuts, and enabled states that follow a document's life.
#include "app/AppCommands.hpp"
#include "app/MainWindow.hpp"
#include "tests/app/AppFixture.hpp"
#include "tests/support/MainLoop.hpp"
#include "viewer_core/GObjectPtr.hpp"

#include <adwaita.h>
#include <giomm/menuattributeiter.h>

#include <map>

namespace quessel::app {
namespace {

struct MenuEntry {
    std::string title;
    std::string action;
    std::string target;
};

// A string attribute of a menu item ("label", "action", "target"), or "" without one.
std::string attribute(const Glib::RefPtr<Gio::MenuModel>& menu, int item, const char* name) {
    GVariant* value =
        g_menu_model_get_item_attribute_value(menu->gobj(), item, name, G_VARIANT_TYPE_STRING);
    if (value == nullptr)
        return {};
    const Glib::Variant<Glib::ustring> text(value); // takes the reference
    return text.get().raw();
}

// The items of a menu with its sections flattened, as GTK shows them.
std::vector<MenuEntry> entries(const Glib::RefPtr<Gio::MenuModel>& menu) {
    std::vector<MenuEntry> result;
    for (int item = 0; item < menu->get_n_items(); ++item) {
        if (auto section = menu->get_item_link(item, Gio::MenuModel::Link::SECTION)) {
            auto inner = entries(section);
            result.insert(result.end(), inner.begin(), inner.end());
            continue;
        }
        result.push_back({attribute(menu, item, "label"), attribute(menu, item, "action"),
                          attribute(menu, item, "target")});
    }
    return result;
}

std::vector<std::string> titles(const Glib::RefPtr<Gio::MenuModel>& menu) {
    std::vector<std::string> result;
    for (const auto& entry : entries(menu))
        result.push_back(entry.title);
    return result;
}

Glib::RefPtr<Gio::MenuModel> submenu(const Glib::RefPtr<Gio::MenuModel>& menu, int item) {
    return menu->get_item_link(item, Gio::MenuModel::Link::SUBMENU);
}

class MenuStatesTest : public AppFixture {
protected:
    Glib::RefPtr<Gio::MenuModel> recent() { return application->menu().recentMenu(); }
};

TEST_F(MenuStatesTest, MenusHoldTheExactTitlesInOrder) {
    auto bar = application->get_menubar();
    ASSERT_EQ(bar->get_n_items(), 4);
    EXPECT_EQ(titles(submenu(bar, 0)), (std::vector<std::string>{"Open...", "Close", "Open Recent",
                                                                 "Save", "Reload", "Quit"}));
    EXPECT_EQ(titles(submenu(bar, 1)),
              (std::vector<std::string>{"Copy Node Path", "Copy Node Value", "Show in Editor",
                                        "Find..."}));
    EXPECT_EQ(
        titles(submenu(bar, 2)),
        (std::vector<std::string>{"Expand All", "Collapse All", "Expand to Level",
                                  "Reload When Changed", "Zoom In", "Zoom Out", "Actual Size"}));
    EXPECT_EQ(titles(submenu(bar, 3)),
              (std::vector<std::string>{"Keyboard Shortcuts", "About Quessel"}));
}

TEST_F(MenuStatesTest, ExpandToLevelOffersOneToFiveWithTheirLevels) {
    const auto view = submenu(application->get_menubar(), 2);
    const auto levels = submenu(view->get_item_link(0, Gio::MenuModel::Link::SECTION), 2);
    ASSERT_TRUE(levels);
    const auto items = entries(levels);
    ASSERT_EQ(items.size(), 5u);
    for (int level = 1; level <= 5; ++level) {
        EXPECT_EQ(items[level - 1].title, std::to_string(level));
        EXPECT_EQ(items[level - 1].action, "win.expand-to-level");
        GVariant* target = g_menu_model_get_item_attribute_value(levels->gobj(), level - 1,
                                                                 "target", G_VARIANT_TYPE_INT32);
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(g_variant_get_int32(target), level);
        g_variant_unref(target);
    }
}

// Linux has no global menu bar: each window shows the application's.
TEST_F(MenuStatesTest, EveryWindowShowsTheMenuBar) {
    MainWindow& shown = window();
    quessel::testing::runUntil([&] { return shown.get_mapped(); });
    EXPECT_TRUE(shown.get_show_menubar());
    std::function<bool(GtkWidget*)> holdsMenuBar = [&](GtkWidget* widget) {
        if (GTK_IS_POPOVER_MENU_BAR(widget) && gtk_widget_get_mapped(widget))
            return true;
        for (GtkWidget* child = gtk_widget_get_first_child(widget); child != nullptr;
             child = gtk_widget_get_next_sibling(child))
            if (holdsMenuBar(child))
                return true;
        return false;
    };
    EXPECT_TRUE(holdsMenuBar(GTK_WIDGET(shown.gobj())));
}

TEST_F(MenuStatesTest, ShortcutsUseControl) {
    auto accels = [&](const char* action) {
        std::vector<std::string> result;
        for (const auto& accel : application->get_accels_for_action(action))
            result.push_back(accel);
        return result;
    };
    EXPECT_EQ(accels("app.open"), std::vector<std::string>{"<Control>o"});
    EXPECT_EQ(accels("app.close"), std::vector<std::string>{"<Control>w"});
    EXPECT_EQ(accels("app.save"), std::vector<std::string>{"<Control>s"});
    EXPECT_EQ(accels("app.quit"), std::vector<std::string>{"<Control>q"});
    EXPECT_EQ(accels("win.find"), std::vector<std::string>{"<Control>f"});
    const auto zoomIn = accels("app.zoom-in");
    EXPECT_NE(std::find(zoomIn.begin(), zoomIn.end(), "<Control>plus"), zoomIn.end());
    EXPECT_NE(std::find(zoomIn.begin(), zoomIn.end(), "<Control>equal"), zoomIn.end());
    EXPECT_EQ(accels("app.zoom-out").front(), "<Control>minus");
    EXPECT_EQ(accels("app.actual-size").front(), "<Control>0");
    EXPECT_EQ(accels("win.copy-node-path"), std::vector<std::string>{"<Shift><Control>c"});
    EXPECT_EQ(accels("win.copy-node-value"), std::vector<std::string>{"<Control><Alt>c"});
    EXPECT_EQ(accels("win.show-in-editor"), std::vector<std::string>{"<Control>e"});
}

// No two actions answer the same keys: a clash would leave one of them unreachable.
TEST_F(MenuStatesTest, NoTwoActionsShareAShortcut) {
    std::map<std::string, std::string> owner;
    for (const auto& action : application->list_action_descriptions()) {
        for (const auto& accel : application->get_accels_for_action(action)) {
            const auto [at, added] = owner.emplace(accel, action);
            EXPECT_TRUE(added) << accel << " is both " << at->second << " and " << action;
        }
    }
    EXPECT_GE(owner.size(), 18u);
}

TEST_F(MenuStatesTest, EnabledStatesFollowTheDocumentThroughItsLife) {
    window();
    EXPECT_TRUE(isEnabled("open"));
    EXPECT_FALSE(isEnabled("close"));
    EXPECT_FALSE(isEnabled("save"));

    openDocument("life.yaml", "a: 1\n");
    EXPECT_TRUE(isEnabled("close"));
    EXPECT_FALSE(isEnabled("save")) << "nothing to save right after opening";

    model->setFileContent("a: 2\n");
    EXPECT_TRUE(isEnabled("save"));
    model->setFileContent("a: 1\n");
    EXPECT_FALSE(isEnabled("save")) << "edited back to the saved text";

    model->setFileContent("a: 3\n");
    activate("save");
    EXPECT_FALSE(isEnabled("save"));
    EXPECT_EQ(quessel::testing::readFile(model->fileURL()->path()), "a: 3\n");

    activate("close");
    EXPECT_FALSE(model->fileURL());
    EXPECT_FALSE(isEnabled("close"));
    EXPECT_FALSE(isEnabled("save"));
    // Zoom is never disabled, with or without a document.
    EXPECT_TRUE(isEnabled("zoom-in"));
    EXPECT_TRUE(isEnabled("zoom-out"));
    EXPECT_TRUE(isEnabled("actual-size"));
}

TEST_F(MenuStatesTest, OpenRecentOffersNothingWhileTheListIsEmpty) {
    window();
    const auto items = entries(recent());
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "No Recent Files");
    EXPECT_FALSE(isEnabled(items[0].action.substr(4)));
}

TEST_F(MenuStatesTest, OpenRecentListsFileNamesThenClearMenu) {
    const auto a = writeDocument("one/same.yaml", "a: 1\n");
    const auto b = writeDocument("two/same.yaml", "b: 2\n");
    window();
    model->openFile(a);
    model->openFile(b);
    quessel::testing::drainPending();

    auto items = entries(recent());
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].title, "same.yaml");
    EXPECT_EQ(items[0].target, b.uri());
    EXPECT_EQ(items[1].title, "same.yaml");
    EXPECT_EQ(items[1].target, a.uri());
    EXPECT_EQ(items[2].title, "Clear Menu");

    // Each item opens its own file.
    activate("open-recent", Glib::Variant<Glib::ustring>::create(items[1].target));
    waitForOpen();
    EXPECT_EQ(model->fileURL(), a);

    activate("clear-recent");
    EXPECT_TRUE(model->recentFiles().empty());
    items = entries(recent());
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "No Recent Files");
}

TEST_F(MenuStatesTest, AboutShowsTheMakerAndTheCampaignLink) {
    window();
    activate("about");
    AdwAboutWindow* about = nullptr;
    GListModel* toplevels = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(toplevels) && about == nullptr; ++i) {
        const auto object =
            core::GObjectPtr<GObject>::adopt(G_OBJECT(g_list_model_get_item(toplevels, i)));
        if (ADW_IS_ABOUT_WINDOW(object.get()))
            about = ADW_ABOUT_WINDOW(object.get());
    }
    ASSERT_NE(about, nullptr);
    EXPECT_STREQ(adw_about_window_get_application_name(about), "Quessel");
    EXPECT_STREQ(adw_about_window_get_developer_name(about), "The Quessel developers");
    EXPECT_STREQ(adw_about_window_get_website(about),
                 "https://quessel.org?utm_source=quessel&utm_medium=app&utm_campaign=about");
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(about)), GTK_WINDOW(window().gobj()));
    gtk_window_destroy(GTK_WINDOW(about));
}

TEST_F(MenuStatesTest, FindBelongsToTheFocusedWindow) {
    MainWindow& shown = window();
    shown.present();
    quessel::testing::drainPending();
    EXPECT_TRUE(shown.get_action_enabled("find"));
}

} // namespace
} // namespace quessel::app

// The menu bar: File, Edit, View and Help, with the Open Recent submenu rebuilt from the list.
#include "app/AppMenu.hpp"

#include "app/AppCommands.hpp"
#include "app/NodeCommands.hpp"

#include <giomm/menuitem.h>

namespace quessel::app {
namespace {

Glib::RefPtr<Gio::Menu> section(std::initializer_list<std::pair<const char*, const char*>> items) {
    auto menu = Gio::Menu::create();
    for (const auto& [title, action] : items)
        menu->append(title, action);
    return menu;
}

} // namespace

AppMenu::AppMenu()
    : menubar_(Gio::Menu::create()), view_(Gio::Menu::create()), recent_(Gio::Menu::create()) {
    auto file = Gio::Menu::create();
    file->append_section(section({{"Open...", AppCommands::open}, {"Close", AppCommands::close}}));
    auto recentAndSave = Gio::Menu::create();
    recentAndSave->append_submenu("Open Recent", recent_);
    recentAndSave->append("Save", AppCommands::save);
    recentAndSave->append("Reload", AppCommands::reload);
    file->append_section(recentAndSave);
    file->append_section(section({{"Quit", AppCommands::quit}}));

    auto edit = Gio::Menu::create();
    edit->append_section(section({{"Copy Node Path", NodeCommands::copyPath},
                                  {"Copy Node Value", NodeCommands::copyValue}}));
    edit->append_section(section({{"Show in Editor", NodeCommands::showInEditor}}));
    edit->append_section(section({{"Find...", AppCommands::find}}));
    auto help = section(
        {{"Keyboard Shortcuts", AppCommands::shortcuts}, {"About Quessel", AppCommands::about}});

    auto levels = Gio::Menu::create();
    for (int level = 1; level <= NodeCommands::menuLevels; ++level) {
        levels->append(std::to_string(level), expandToLevelItem(level));
    }
    auto folding = section(
        {{"Expand All", NodeCommands::expandAll}, {"Collapse All", NodeCommands::collapseAll}});
    folding->append_submenu("Expand to Level", levels);
    view_->append_section(folding);
    view_->append_section(section({{"Reload When Changed", AppCommands::reloadWhenChanged}}));

    menubar_->append_submenu("_File", file);
    menubar_->append_submenu("_Edit", edit);
    menubar_->append_submenu("_View", view_);
    menubar_->append_submenu("_Help", help);
    showRecentFiles({});
}

Glib::ustring AppMenu::expandToLevelItem(int level) {
    return Glib::ustring(NodeCommands::expandToLevel) + "(" + std::to_string(level) + ")";
}

void AppMenu::showRecentFiles(const std::vector<core::FileUrl>& files) {
    recent_->remove_all();
    if (files.empty()) {
        recent_->append("No Recent Files", AppCommands::noRecentFiles);
        return;
    }
    auto entries = Gio::Menu::create();
    for (const core::FileUrl& file : files) {
        auto item = Gio::MenuItem::create(file.displayName(), "");
        item->set_action_and_target(AppCommands::openRecent,
                                    Glib::Variant<Glib::ustring>::create(file.uri()));
        entries->append_item(item);
    }
    recent_->append_section(entries);
    recent_->append_section(section({{"Clear Menu", AppCommands::clearRecent}}));
}

} // namespace quessel::app

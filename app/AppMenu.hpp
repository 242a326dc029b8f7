// The menu bar: File, Edit, View and Help, with the Open Recent submenu rebuilt from the list.
#pragma once

#include "viewer_core/FileUrl.hpp"

#include <giomm/menu.h>

#include <vector>

namespace quessel::app {

// Titles and the actions they name. Actions themselves live in AppCommands.
class AppMenu {
public:
    AppMenu();

    Glib::RefPtr<Gio::Menu> menubar() const { return menubar_; }
    Glib::RefPtr<Gio::Menu> viewMenu() const { return view_; }
    Glib::RefPtr<Gio::Menu> recentMenu() const { return recent_; }

    // One item per file, titled with its name, then "Clear Menu" in a section of its own. GTK
    // cannot disable a submenu, so an empty list shows one disabled "No Recent Files" item
    // instead: the submenu is present, offers nothing and has no "Clear Menu".
    void showRecentFiles(const std::vector<core::FileUrl>& files);

    // The detailed action of the "Expand to Level" item for `level`.
    static Glib::ustring expandToLevelItem(int level);

private:
    Glib::RefPtr<Gio::Menu> menubar_;
    Glib::RefPtr<Gio::Menu> view_;
    Glib::RefPtr<Gio::Menu> recent_;
};

} // namespace quessel::app

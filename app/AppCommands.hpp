// The application's menu commands: their actions, shortcuts and enabled states, which follow the
// document model live.
#pragma once

#include "app/UnsavedChangesGuard.hpp"
#include "viewer_core/ViewerAppState.hpp"
#include "viewer_core/gtk/ViewerAppDelegate.hpp"

#include <giomm/simpleaction.h>
#include <gtkmm/application.h>
#include <sigc++/connection.h>

#include <functional>
#include <vector>

namespace quessel::app {

class AppMenu;
class FileFollower;

class AppCommands {
public:
    // Detailed action names as the menu items name them.
    static constexpr const char* open = "app.open";
    static constexpr const char* close = "app.close";
    static constexpr const char* openRecent = "app.open-recent";
    static constexpr const char* clearRecent = "app.clear-recent";
    static constexpr const char* noRecentFiles = "app.no-recent-files";
    static constexpr const char* save = "app.save";
    static constexpr const char* reload = "app.reload";
    static constexpr const char* reloadWhenChanged = "app.reload-when-changed";
    static constexpr const char* quit = "app.quit";
    static constexpr const char* find = "win.find";
    static constexpr const char* about = "app.about";
    // The window's Keyboard Shortcuts window, which GTK provides for a window given one.
    static constexpr const char* shortcuts = "win.show-help-overlay";

    // What the application itself provides: the Open panel, the About window, quitting.
    struct Routes {
        std::function<void()> showOpenPanel;
        std::function<void()> showAbout;
        std::function<void()> quit;
    };

    AppCommands(Gtk::Application& application, core::ViewerAppState& appState,
                UnsavedChangesGuard& guard, FileFollower& follower,
                core::ViewerAppDelegate& delegate, AppMenu& menu, Routes routes);
    ~AppCommands();
    AppCommands(const AppCommands&) = delete;
    AppCommands& operator=(const AppCommands&) = delete;

    // Re-reads the model: Close and Reload need a file, Save a file with changes; the Open Recent
    // submenu shows the recent files.
    void refresh();

private:
    void addActions(Gtk::Application& application);
    void setAccelerators(Gtk::Application& application);
    void openRecentFile(const Glib::VariantBase& uri);
    // The model announces a change before storing it: re-read it on the next main-loop turn.
    void scheduleRefresh();

    core::ViewerAppState& appState_;
    UnsavedChangesGuard& guard_;
    FileFollower& follower_;
    core::ViewerAppDelegate& delegate_;
    AppMenu& menu_;
    Routes routes_;
    Glib::RefPtr<Gio::SimpleAction> close_;
    Glib::RefPtr<Gio::SimpleAction> save_;
    Glib::RefPtr<Gio::SimpleAction> reload_;
    std::vector<core::FileUrl> shownRecentFiles_;
    bool recentShown_ = false;
    sigc::connection willChange_;
    sigc::connection pendingRefresh_;
};

} // namespace quessel::app

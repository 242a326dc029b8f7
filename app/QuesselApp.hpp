// The application: its one document model, its windows, menu commands and appearance, and the
// files the desktop hands over, from a file manager or a second `quessel FILE`.
#pragma once

#include "app/AppDelegate.hpp"
#include "app/AppMenu.hpp"
#include "app/AppState.hpp"
#include "app/BackgroundFileOpener.hpp"
#include "app/FileFollower.hpp"
#include "app/UnsavedChangesGuard.hpp"

#include <gtkmm/application.h>

#include <map>
#include <memory>

namespace quessel::core {
class SharedAppearanceModifier;
class WindowCloseInterceptor;
} // namespace quessel::core

namespace quessel::app {

class AppCommands;
class MainWindow;

class QuesselApp : public Gtk::Application {
public:
    static constexpr const char* applicationId = "org.quessel.Quessel";
    static constexpr const char* displayName = "Quessel";
    static constexpr const char* creatorName = "The Quessel developers";
    static constexpr const char* utmSource = "quessel";

    // Another id lets tests run beside a real Quessel on the same session bus.
    static Glib::RefPtr<QuesselApp> create(const Glib::ustring& id = applicationId);
    ~QuesselApp() override;

    // Made on first use (loading the recent files) and kept for the whole run.
    const std::shared_ptr<AppState>& appState();
    AppDelegate& appDelegate() noexcept { return delegate_; }
    UnsavedChangesGuard& unsavedChangesGuard();
    // Every open the user asks for, once the guard lets it, reads its file here.
    BackgroundFileOpener& fileOpener();
    // Follows the open file on disk for every window.
    FileFollower& fileFollower();
    const AppMenu& menu() const noexcept { return menu_; }

    // A new window over the one model, not yet shown.
    MainWindow& createWindow();
    // A new window, sized to 65 % of the work area's width and its full height, then shown.
    void showNewWindow();

protected:
    explicit QuesselApp(const Glib::ustring& id);
    void on_startup() override;
    void on_activate() override;
    void on_open(const type_vec_files& files, const Glib::ustring& hint) override;

private:
    void showOpenPanel();
    void showAbout();
    void quitAfterQuestion();
    void forgetWindow(Gtk::Window* window);
    Gtk::Window* questionParent();

    AppDelegate delegate_;
    std::shared_ptr<AppState> appState_;
    std::unique_ptr<UnsavedChangesGuard> guard_;
    // After the guard, which it asks: it goes first.
    std::unique_ptr<BackgroundFileOpener> opener_;
    std::unique_ptr<FileFollower> follower_;
    AppMenu menu_;
    std::unique_ptr<AppCommands> commands_;
    std::unique_ptr<core::SharedAppearanceModifier> appearance_;
    std::map<Gtk::Window*, std::unique_ptr<core::WindowCloseInterceptor>> interceptors_;
};

} // namespace quessel::app

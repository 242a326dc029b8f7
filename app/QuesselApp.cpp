// The application: its one document model, its windows, menu commands and appearance, and the
// files the desktop hands over, from a file manager or a second `quessel FILE`.
#include "app/QuesselApp.hpp"

#include "app/AppCommands.hpp"
#include "app/MainWindow.hpp"
#include "app/web/DocumentPages.hpp"
#include "viewer_core/SharedSettings.hpp"
#include "viewer_core/ZoomCommands.hpp"
#include "viewer_core/gtk/AboutPanel.hpp"
#include "viewer_core/gtk/SharedAppearanceModifier.hpp"
#include "viewer_core/gtk/WindowCloseInterceptor.hpp"
#include "viewer_core/gtk/WindowConfiguration.hpp"
#include "viewer_core/gtk/ZoomMenuCommands.hpp"

#include <adwaita.h>
#include <giomm/file.h>
#include <glibmm/main.h>
#include <glibmm/miscutils.h>
#include <gtkmm/recentmanager.h>

namespace quessel::app {

Glib::RefPtr<QuesselApp> QuesselApp::create(const Glib::ustring& id) {
    return Glib::make_refptr_for_instance<QuesselApp>(new QuesselApp(id));
}

QuesselApp::QuesselApp(const Glib::ustring& id)
    : Gtk::Application(id, Gio::Application::Flags::HANDLES_OPEN), delegate_(*this) {
    Glib::set_application_name(displayName);
    delegate_.setOpenRoute([this](core::ViewerAppState&, const core::FileUrl& url) {
        unsavedChangesGuard().open(url);
    });
}

QuesselApp::~QuesselApp() = default;

const std::shared_ptr<AppState>& QuesselApp::appState() {
    if (!appState_) {
        appState_ = std::make_shared<AppState>();
        // The desktop's own list of recent files learns every file Quessel opens. Everything is
        // given: left to guess, GTK writes an entry without a MIME type when the guess is
        // still running, which corrupts the list.
        appState_->setOpenedFileHook([](const core::FileUrl& url) {
            Gtk::RecentManager::Data data;
            data.display_name = url.displayName();
            data.mime_type = "application/yaml";
            data.app_name = displayName;
            data.app_exec = "quessel %u";
            data.is_private = false;
            Gtk::RecentManager::get_default()->add_item(url.uri(), data);
        });
    }
    return appState_;
}

UnsavedChangesGuard& QuesselApp::unsavedChangesGuard() {
    if (!guard_)
        guard_ = std::make_unique<UnsavedChangesGuard>(
            *appState(), [this] { return questionParent(); },
            [this](const core::FileUrl& url) { fileOpener().open(url); });
    return *guard_;
}

BackgroundFileOpener& QuesselApp::fileOpener() {
    if (!opener_)
        opener_ =
            std::make_unique<BackgroundFileOpener>(*appState(), [this](std::function<void()> then) {
                unsavedChangesGuard().settle(std::move(then));
            });
    return *opener_;
}

FileFollower& QuesselApp::fileFollower() {
    if (!follower_)
        follower_ = std::make_unique<FileFollower>(*appState(), [this](std::function<void()> then) {
            unsavedChangesGuard().settle(std::move(then));
        });
    return *follower_;
}

void QuesselApp::on_startup() {
    Gtk::Application::on_startup();
    adw_init(); // the style manager and the message dialogs need it
    Gtk::Window::set_default_icon_name(applicationId);
    appearance_ = std::make_unique<core::SharedAppearanceModifier>();
    commands_ = std::make_unique<AppCommands>(
        *this, *appState(), unsavedChangesGuard(), fileFollower(), delegate_, menu_,
        AppCommands::Routes{.showOpenPanel = [this] { showOpenPanel(); },
                            .showAbout = [this] { showAbout(); },
                            .quit = [this] { quitAfterQuestion(); }});
    core::ZoomMenuCommands::install(*this, *menu_.viewMenu(), core::ZoomCommands());
    set_menubar(menu_.menubar());
}

void QuesselApp::on_activate() {
    if (get_windows().empty()) {
        showNewWindow();
        return;
    }
    delegate_.handleReopen();
    // Starting Quessel again from a launcher or a terminal is a request to see its window.
    delegate_.ensureWindowVisible();
}

void QuesselApp::on_open(const type_vec_files& files, const Glib::ustring&) {
    std::vector<core::FileUrl> urls;
    for (const auto& file : files) {
        // A file from a remote location has a local path only when GVfs mounts it.
        const std::string path = file->get_path();
        auto url =
            path.empty() ? core::FileUrl::fromUri(file->get_uri()) : core::FileUrl::fromPath(path);
        if (url)
            urls.push_back(std::move(*url));
    }
    const bool firstWindow = get_windows().empty();
    delegate_.openFiles(urls);
    // Before the first window exists the file waits in the delegate; showing the window hands
    // the delegate the model, which opens it.
    if (firstWindow)
        showNewWindow();
}

void QuesselApp::showNewWindow() {
    MainWindow& window = createWindow();
    // GTK applies a default size only before a window first maps, and the sizing waits for the
    // next main-loop turn: show the window on the turn after it.
    core::WindowConfiguration::configure(window, 0.65);
    Glib::signal_idle().connect_once(sigc::track_object([&window] { window.present(); }, window));
}

MainWindow& QuesselApp::createWindow() {
    // Each page is made for the application's effective appearance when it is requested.
    auto* window =
        new MainWindow(*appState(), core::SharedSettings::shared(), web::documentPages());
    add_window(*window);
    // GTK 4 hides an application window's menu bar unless asked; Linux has no global one.
    window->set_show_menubar(true);
    ContentView& content = window->content();
    content.setOpenRequest([this](const core::FileUrl& url) { unsavedChangesGuard().open(url); });
    content.setSaveRequest([this] { unsavedChangesGuard().save(); });
    content.setFileFollower(&fileFollower());
    // Every window tells of a file being read, whichever window asked for it.
    content.setOpening(fileOpener().opening());
    fileOpener().signalOpeningChanged().connect(sigc::track_object(
        [this, &content] { content.setOpening(fileOpener().opening()); }, *window));

    auto interceptor = std::make_unique<core::WindowCloseInterceptor>(*window, appState());
    interceptor->setCloseRoute([this](core::ViewerAppState&) { unsavedChangesGuard().close(); });
    interceptors_[window] = std::move(interceptor);

    window->signal_show().connect([this] { delegate_.setAppState(appState()); });
    window->signal_hide().connect([this, window] { forgetWindow(window); });
    return *window;
}

void QuesselApp::forgetWindow(Gtk::Window* window) {
    interceptors_.erase(window);
    remove_window(*window);
    // Not while its own hide handler runs.
    Glib::signal_idle().connect_once([window] { delete window; });
}

Gtk::Window* QuesselApp::questionParent() {
    if (Gtk::Window* active = get_active_window())
        return active;
    const auto windows = get_windows();
    return windows.empty() ? nullptr : windows.front();
}

void QuesselApp::showOpenPanel() {
    if (auto* window = dynamic_cast<MainWindow*>(questionParent()))
        window->content().openFile();
}

void QuesselApp::showAbout() {
    core::AboutPanel::show(questionParent(), displayName, creatorName, QUESSEL_HOMEPAGE, utmSource);
}

void QuesselApp::quitAfterQuestion() {
    unsavedChangesGuard().settle([this] { quit(); });
}

} // namespace quessel::app

// The application delegate base: files handed over by the desktop, reopening, bringing a window
// forward, and the file that arrives before the document model exists.
#include "viewer_core/gtk/ViewerAppDelegate.hpp"

#include <gdkmm/toplevel.h>
#include <gtkmm/window.h>

#include <algorithm>

namespace quessel::core {
namespace {

bool isMinimized(Gtk::Window& window) {
    const auto toplevel = std::dynamic_pointer_cast<Gdk::Toplevel>(window.get_surface());
    return toplevel && (toplevel->get_state() & Gdk::Toplevel::State::MINIMIZED) ==
                           Gdk::Toplevel::State::MINIMIZED;
}

} // namespace

ViewerAppDelegate::ViewerAppDelegate(Gtk::Application& application)
    : application_(application),
      openRoute_([](ViewerAppState& state, const FileUrl& url) { state.openFile(url); }) {}

void ViewerAppDelegate::setAppState(const std::shared_ptr<ViewerAppState>& appState) {
    appState_ = appState;
    runPendingFileStep();
}

void ViewerAppDelegate::runPendingFileStep() {
    if (!pendingURL_)
        return;
    const auto state = appState_.lock();
    if (!state)
        return; // the file stays pending until a live model arrives
    const FileUrl url = *std::exchange(pendingURL_, std::nullopt);
    openRoute_(*state, url);
}

void ViewerAppDelegate::openFiles(const std::vector<FileUrl>& urls) {
    ensureWindowVisible();
    if (urls.empty())
        return;
    // Only the first file of a request opens: there is one document per run.
    if (const auto state = appState_.lock())
        openRoute_(*state, urls.front());
    else
        pendingURL_ = urls.front();
}

Gtk::Window* ViewerAppDelegate::firstWindow() const {
    // GTK lists the most recently focused window first.
    const auto windows = application_.get_windows();
    return windows.empty() ? nullptr : windows.front();
}

void ViewerAppDelegate::ensureWindowVisible() {
    if (Gtk::Window* window = firstWindow())
        window->present();
}

bool ViewerAppDelegate::handleReopen() {
    const auto windows = application_.get_windows();
    const bool anyVisible = std::any_of(windows.begin(), windows.end(), [](Gtk::Window* window) {
        return window->get_visible() && !isMinimized(*window);
    });
    if (!anyVisible)
        ensureWindowVisible();
    return true;
}

} // namespace quessel::core

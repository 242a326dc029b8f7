// The application delegate base: files handed over by the desktop, reopening, bringing a window
// forward, and the file that arrives before the document model exists.
#pragma once

#include "viewer_core/FileUrl.hpp"
#include "viewer_core/ViewerAppState.hpp"

#include <gtkmm/application.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quessel::core {

// The delegate holds the document model through a std::weak_ptr: the application owns the model
// in a std::shared_ptr, and every use here first locks the reference, so a model that is gone
// is never touched.
class ViewerAppDelegate {
public:
    // How a file reaches the model; replaceable so that the application can ask about unsaved
    // changes first. The default calls the model's openFile.
    using OpenRoute = std::function<void(ViewerAppState&, const FileUrl&)>;

    explicit ViewerAppDelegate(Gtk::Application& application);
    virtual ~ViewerAppDelegate() = default;
    ViewerAppDelegate(const ViewerAppDelegate&) = delete;
    ViewerAppDelegate& operator=(const ViewerAppDelegate&) = delete;

    // Stores the model, then opens the file that was waiting for it, if any.
    void setAppState(const std::shared_ptr<ViewerAppState>& appState);
    std::shared_ptr<ViewerAppState> appState() const { return appState_.lock(); }
    const std::optional<FileUrl>& pendingURL() const noexcept { return pendingURL_; }

    void setOpenRoute(OpenRoute route) { openRoute_ = std::move(route); }

    // Files handed over by the desktop: brings the first window forward, then opens the first
    // file only, or keeps it until the model is known.
    void openFiles(const std::vector<FileUrl>& urls);

    // Brings the first window forward when there is one; never creates a window.
    void ensureWindowVisible();

    // The running application activated again: with no visible window, brings the first window
    // forward. Always answers true (the platform's own reopening goes on).
    bool handleReopen();

private:
    Gtk::Window* firstWindow() const;
    void runPendingFileStep();

    Gtk::Application& application_;
    std::weak_ptr<ViewerAppState> appState_;
    std::optional<FileUrl> pendingURL_;
    OpenRoute openRoute_;
};

} // namespace quessel::core

// Closing a window that shows a document closes the document first; the next close closes the
// window.
#pragma once

#include "viewer_core/ViewerAppState.hpp"

#include <gtkmm/window.h>
#include <sigc++/connection.h>

#include <functional>
#include <memory>

namespace quessel::core {

// Connects to the window's close-request ahead of every handler connected later: a close it
// does not take passes on to them and to GTK's default, which is how GTK forwards a window's
// other close handling. The model is held weakly and locked on every close.
class WindowCloseInterceptor {
public:
    // How the document is closed; replaceable so that the application can ask about unsaved
    // changes first. The default calls the model's closeFile.
    using CloseRoute = std::function<void(ViewerAppState&)>;

    WindowCloseInterceptor(Gtk::Window& window, const std::shared_ptr<ViewerAppState>& appState);
    ~WindowCloseInterceptor();
    WindowCloseInterceptor(const WindowCloseInterceptor&) = delete;
    WindowCloseInterceptor& operator=(const WindowCloseInterceptor&) = delete;

    void setAppState(const std::shared_ptr<ViewerAppState>& appState) { appState_ = appState; }
    void setCloseRoute(CloseRoute route) { closeRoute_ = std::move(route); }

private:
    // Answers true to keep the window open.
    bool onCloseRequest();

    std::weak_ptr<ViewerAppState> appState_;
    CloseRoute closeRoute_;
    sigc::connection connection_;
};

} // namespace quessel::core

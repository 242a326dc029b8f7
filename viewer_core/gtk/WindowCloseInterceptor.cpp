// Closing a window that shows a document closes the document first; the next close closes the
// window.
#include "viewer_core/gtk/WindowCloseInterceptor.hpp"

namespace quessel::core {

WindowCloseInterceptor::WindowCloseInterceptor(Gtk::Window& window,
                                               const std::shared_ptr<ViewerAppState>& appState)
    : appState_(appState), closeRoute_([](ViewerAppState& state) { state.closeFile(); }),
      connection_(window.signal_close_request().connect(
          sigc::mem_fun(*this, &WindowCloseInterceptor::onCloseRequest), false)) {}

WindowCloseInterceptor::~WindowCloseInterceptor() {
    connection_.disconnect();
}

bool WindowCloseInterceptor::onCloseRequest() {
    const auto state = appState_.lock();
    if (!state || !state->fileURL())
        return false;
    closeRoute_(*state);
    return true;
}

} // namespace quessel::core

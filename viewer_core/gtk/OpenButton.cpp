// The toolbar's Open button, which asks the window for its Open dialog.
#include "viewer_core/gtk/OpenButton.hpp"

namespace quessel::core {

OpenButton::OpenButton(std::function<void()> action)
    : LabeledButton("Open", "document-open-symbolic", "Open a file") {
    signal_clicked().connect([action = std::move(action)] {
        if (action) {
            action();
        }
    });
}

} // namespace quessel::core

// The toolbar's Save button, present only while there is something to save.
#include "viewer_core/gtk/SaveButton.hpp"

namespace quessel::core {

// The help text names Control: the Save shortcut on Linux desktops is Ctrl+S, not Command-S.
SaveButton::SaveButton(std::function<void()> action)
    : LabeledButton("Save", "document-save-symbolic", "Save changes (Ctrl+S)") {
    set_visible(false);
    signal_clicked().connect([action = std::move(action)] {
        if (action) {
            action();
        }
    });
}

} // namespace quessel::core

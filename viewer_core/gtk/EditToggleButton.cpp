// The toolbar's edit/view toggle: "Edit" with a pencil over the page, "View" with an eye in the
// editor.
#include "viewer_core/gtk/EditToggleButton.hpp"

namespace quessel::core {

EditToggleButton::EditToggleButton(std::string editLabel, std::string viewLabel,
                                   std::function<void(bool)> setEditing)
    : LabeledButton(editLabel, "document-edit-symbolic", "Edit raw content"),
      editLabel_(std::move(editLabel)), viewLabel_(std::move(viewLabel)),
      setEditing_(std::move(setEditing)) {
    signal_clicked().connect([this] {
        if (setEditing_) {
            setEditing_(!isEditing_);
        }
    });
}

void EditToggleButton::setEditing(bool isEditing) {
    isEditing_ = isEditing;
    showState();
}

void EditToggleButton::showState() {
    if (isEditing_) {
        setContent(viewLabel_, "view-reveal-symbolic", "Show rendered view");
    } else {
        setContent(editLabel_, "document-edit-symbolic", "Edit raw content");
    }
}

} // namespace quessel::core

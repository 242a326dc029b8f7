// The toolbar's edit/view toggle: "Edit" with a pencil over the page, "View" with an eye in the
// editor.
#pragma once

#include "viewer_core/gtk/LabeledButton.hpp"

#include <functional>
#include <string>

namespace quessel::core {

class EditToggleButton : public LabeledButton {
public:
    // `setEditing` is the write half of the two-way binding: a click asks for the inverse of
    // the value last shown.
    EditToggleButton(std::string editLabel, std::string viewLabel,
                     std::function<void(bool)> setEditing);

    // The read half of the binding.
    void setEditing(bool isEditing);
    bool isEditing() const { return isEditing_; }

private:
    void showState();

    std::string editLabel_;
    std::string viewLabel_;
    std::function<void(bool)> setEditing_;
    bool isEditing_ = false;
};

} // namespace quessel::core

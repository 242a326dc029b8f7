// The toolbar's Save button, present only while there is something to save.
#pragma once

#include "viewer_core/gtk/LabeledButton.hpp"

#include <functional>

namespace quessel::core {

class SaveButton : public LabeledButton {
public:
    explicit SaveButton(std::function<void()> action);

    // A clean document has nothing to save: the button then takes no space in the toolbar.
    void setDirty(bool isDirty) { set_visible(isDirty); }
};

} // namespace quessel::core

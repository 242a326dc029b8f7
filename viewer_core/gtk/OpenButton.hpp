// The toolbar's Open button, which asks the window for its Open dialog.
#pragma once

#include "viewer_core/gtk/LabeledButton.hpp"

#include <functional>

namespace quessel::core {

class OpenButton : public LabeledButton {
public:
    explicit OpenButton(std::function<void()> action);
};

} // namespace quessel::core

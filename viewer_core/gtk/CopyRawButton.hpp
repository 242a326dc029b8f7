// The toolbar's Copy button: puts the document's raw text on the clipboard.
#pragma once

#include "viewer_core/gtk/LabeledButton.hpp"

#include <functional>
#include <string>

namespace quessel::core {

class CopyRawButton : public LabeledButton {
public:
    // The text is read when the button is clicked, so a window refresh never copies a large
    // document just to keep the button current.
    CopyRawButton(const std::string& label, std::function<std::string_view()> content);
};

} // namespace quessel::core

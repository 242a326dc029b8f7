// The toolbar's Copy button: puts the document's raw text on the clipboard.
#include "viewer_core/gtk/CopyRawButton.hpp"

#include "viewer_core/gtk/Clipboard.hpp"

namespace quessel::core {

CopyRawButton::CopyRawButton(const std::string& label, std::function<std::string_view()> content)
    : LabeledButton(label, "edit-copy-symbolic", "Copy raw content") {
    signal_clicked().connect([this, content = std::move(content)] {
        writeToClipboard(*this, content ? content() : std::string_view{});
    });
}

} // namespace quessel::core

// Writing plain text to the desktop clipboard on behalf of a widget.
#include "viewer_core/gtk/Clipboard.hpp"

#include <gdkmm/clipboard.h>

namespace quessel::core {

void writeToClipboard(Gtk::Widget& widget, std::string_view text) {
    // Built from bytes: ustring's (pointer, count) constructor counts characters, not bytes.
    widget.get_clipboard()->set_text(Glib::ustring(std::string(text)));
}

} // namespace quessel::core

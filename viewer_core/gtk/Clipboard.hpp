// Writing plain text to the desktop clipboard on behalf of a widget.
#pragma once

#include <gtkmm/widget.h>

#include <string_view>

namespace quessel::core {

// Replaces the clipboard of the widget's display with one plain-text string.
void writeToClipboard(Gtk::Widget& widget, std::string_view text);

} // namespace quessel::core

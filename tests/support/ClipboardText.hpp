// Reading back what a test put on the desktop clipboard.
#pragma once

#include <gtkmm/widget.h>

#include <optional>
#include <string>

namespace quessel::testing {

// The clipboard's plain text as the widget's display sees it, waiting for the asynchronous read;
// none when it holds no text or the read fails.
std::optional<std::string> clipboardText(Gtk::Widget& widget);

} // namespace quessel::testing

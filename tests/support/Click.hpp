// Pressing a button in a test the way a pointer click does: its "clicked" signal, at once.
#pragma once

#include <gtkmm/widget.h>

namespace quessel::testing {

// GtkButton's keyboard activation emits "clicked" only after a short pressed-look delay;
// tests want the click itself.
inline void click(Gtk::Widget& button) {
    g_signal_emit_by_name(button.gobj(), "clicked");
}

} // namespace quessel::testing

// Reading back what a test put on the desktop clipboard.
#include "tests/support/ClipboardText.hpp"

#include "tests/support/MainLoop.hpp"

#include <gdkmm/clipboard.h>

namespace quessel::testing {

std::optional<std::string> clipboardText(Gtk::Widget& widget) {
    auto clipboard = widget.get_clipboard();
    bool done = false;
    std::optional<std::string> text;
    clipboard->read_text_async([&](const Glib::RefPtr<Gio::AsyncResult>& result) {
        try {
            text = clipboard->read_text_finish(result).raw();
        } catch (const Glib::Error&) {
            text.reset();
        }
        done = true;
    });
    runUntil([&] { return done; });
    return text;
}

} // namespace quessel::testing

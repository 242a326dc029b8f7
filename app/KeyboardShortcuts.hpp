// Every shortcut of the application and of the page, as the Keyboard Shortcuts window lists them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quessel::app {

// An application shortcut names its action, so the window shows whatever accelerators the
// application has set for it; a key the page handles itself names its keys.
struct KeyboardShortcut {
    std::string title;
    std::string action; // a detailed action name, or empty
    std::string keys;   // accelerators separated by spaces ("a...z" for a range), or empty
};

struct ShortcutGroup {
    std::string title;
    std::vector<KeyboardShortcut> shortcuts;
};

std::vector<ShortcutGroup> keyboardShortcuts();

// The GtkBuilder description of a GtkShortcutsWindow with the id "shortcuts" listing them.
std::string shortcutsWindowUi();

} // namespace quessel::app

// A window's initial size (a share of its monitor's work area) and its title.
#pragma once

#include <gtkmm/window.h>

#include <optional>
#include <string>

namespace quessel::core {

class WindowConfiguration {
public:
    // On the next main-loop turn, gives the window a default size of `widthRatio` × the work
    // area's width by the work area's full height. Nothing happens if the window is gone by then
    // or its display has no monitor. GTK 4 leaves placement to the window manager.
    static void configure(Gtk::Window& window, double widthRatio);

    // On the next main-loop turn, sets the window's title to `title`, or to the application's
    // display name when there is none.
    static void updateTitle(Gtk::Window& window, const std::optional<std::string>& title);

    // The application's display name, from the build.
    static std::string displayName();

    // The size `configure` gives for a work area of the given size.
    static std::pair<int, int> sizeFor(int workAreaWidth, int workAreaHeight, double widthRatio);
};

} // namespace quessel::core

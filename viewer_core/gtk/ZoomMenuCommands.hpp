// The zoom commands as application actions with their shortcuts and View menu items.
#pragma once

#include "viewer_core/ZoomCommands.hpp"

#include <giomm/menu.h>
#include <gtkmm/application.h>

namespace quessel::core {

class ZoomMenuCommands {
public:
    // Action names under the application ("app.zoom-in", ...).
    static constexpr const char* zoomInAction = "zoom-in";
    static constexpr const char* zoomOutAction = "zoom-out";
    static constexpr const char* actualSizeAction = "actual-size";

    // Adds the three actions to `application`, never disabled, with Control plus (and equal,
    // which is the same key without Shift), Control minus and Control 0 on both the main keys
    // and the keypad; appends "Zoom In", "Zoom Out" and "Actual Size" to `menu` in that order.
    static void install(Gtk::Application& application, Gio::Menu& menu, ZoomCommands commands);
};

} // namespace quessel::core

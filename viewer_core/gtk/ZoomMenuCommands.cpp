// The zoom commands as application actions with their shortcuts and View menu items.
#include "viewer_core/gtk/ZoomMenuCommands.hpp"

#include <string>

namespace quessel::core {

void ZoomMenuCommands::install(Gtk::Application& application, Gio::Menu& menu,
                               ZoomCommands commands) {
    application.add_action(zoomInAction, [commands] { commands.zoomIn(); });
    application.add_action(zoomOutAction, [commands] { commands.zoomOut(); });
    application.add_action(actualSizeAction, [commands] { commands.actualSize(); });

    const std::string app = "app.";
    application.set_accels_for_action(app + zoomInAction,
                                      {"<Control>plus", "<Control>equal", "<Control>KP_Add"});
    application.set_accels_for_action(app + zoomOutAction,
                                      {"<Control>minus", "<Control>KP_Subtract"});
    application.set_accels_for_action(app + actualSizeAction, {"<Control>0", "<Control>KP_0"});

    menu.append(std::string(ZoomCommands::zoomInTitle), app + zoomInAction);
    menu.append(std::string(ZoomCommands::zoomOutTitle), app + zoomOutAction);
    menu.append(std::string(ZoomCommands::actualSizeTitle), app + actualSizeAction);
}

} // namespace quessel::core

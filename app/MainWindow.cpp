// The document window: the content view, its toolbar as title bar, Find, and file drops.
#include "app/MainWindow.hpp"

#include "app/KeyboardShortcuts.hpp"
#include "viewer_core/GObjectPtr.hpp"
#include "viewer_core/gtk/WindowConfiguration.hpp"

#include <gdk/gdk.h>

namespace quessel::app {

MainWindow::MainWindow(core::ViewerAppState& appState, core::SharedSettings& settings,
                       web::YAMLWebView::PageSource pageSource)
    : content_(appState, settings, std::move(pageSource)) {
    set_title(core::WindowConfiguration::displayName());
    set_titlebar(content_.headerBar());
    set_child(content_);
    set_size_request(400, 300);
    add_action(content_.findAction().toAction());
    for (const auto& action : content_.nodeCommands().actions()) {
        add_action(action);
    }
    installShortcutsWindow();
    dropTarget_ = Gtk::DropTarget::create(GDK_TYPE_FILE_LIST, Gdk::DragAction::COPY);
    dropTarget_->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    dropTarget_->signal_drop().connect(
        [this](const Glib::ValueBase& value, double, double) { return dropped(value); }, false);
    add_controller(dropTarget_);
}

void MainWindow::installShortcutsWindow() {
    const std::string ui = shortcutsWindowUi();
    const auto builder = core::GObjectPtr<GtkBuilder>::adopt(
        gtk_builder_new_from_string(ui.c_str(), static_cast<gssize>(ui.size())));
    // The window keeps the overlay (and offers win.show-help-overlay for it); the builder's
    // reference goes with the builder.
    gtk_application_window_set_help_overlay(
        gobj(), GTK_SHORTCUTS_WINDOW(gtk_builder_get_object(builder.get(), "shortcuts")));
}

bool MainWindow::dropped(const Glib::ValueBase& value) {
    if (!G_VALUE_HOLDS(value.gobj(), GDK_TYPE_FILE_LIST)) {
        return false;
    }
    auto* list = static_cast<GdkFileList*>(g_value_get_boxed(value.gobj()));
    std::vector<Glib::RefPtr<Gio::File>> files;
    if (list != nullptr) {
        GSList* items = gdk_file_list_get_files(list);
        for (GSList* item = items; item != nullptr; item = item->next) {
            files.push_back(Glib::wrap(G_FILE(item->data), true));
        }
        g_slist_free(items);
    }
    return content_.handleDrop(files);
}

} // namespace quessel::app

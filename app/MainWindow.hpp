// The document window: the content view, its toolbar as title bar, Find, and file drops.
#pragma once

#include "app/ContentView.hpp"
#include "app/web/DocumentPages.hpp"

#include <gtkmm/applicationwindow.h>
#include <gtkmm/droptarget.h>

namespace quessel::app {

class MainWindow : public Gtk::ApplicationWindow {
public:
    MainWindow(core::ViewerAppState& appState, core::SharedSettings& settings,
               web::YAMLWebView::PageSource pageSource = web::documentPages());

    ContentView& content() noexcept { return content_; }

    // Takes file drops anywhere in the window, the rendered page included: it sees them in the
    // capture phase, before any widget inside.
    Glib::RefPtr<Gtk::DropTarget> dropTarget() const noexcept { return dropTarget_; }

private:
    bool dropped(const Glib::ValueBase& value);
    void installShortcutsWindow();

    ContentView content_;
    Glib::RefPtr<Gtk::DropTarget> dropTarget_;
};

} // namespace quessel::app

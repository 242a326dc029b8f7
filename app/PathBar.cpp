// The line under the page that says where the cursor is: the path of its node.
#include "app/PathBar.hpp"

namespace quessel::app {

PathBar::PathBar() : Gtk::Box(Gtk::Orientation::HORIZONTAL, 8) {
    add_css_class("toolbar");
    set_margin_start(6);
    set_margin_end(6);
    document_.add_css_class("dim-label");
    path_.add_css_class("monospace");
    path_.set_selectable(true);
    // Selecting the path is for the mouse: the keyboard stays with the page.
    path_.set_focusable(false);
    path_.set_ellipsize(Pango::EllipsizeMode::START);
    path_.set_xalign(0);
    path_.set_hexpand(true);
    append(document_);
    append(path_);
    gtk_accessible_update_property(GTK_ACCESSIBLE(gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                   "Node path", -1);
    show(std::nullopt);
}

void PathBar::show(const std::optional<web::PageCursor>& cursor) {
    if (!cursor) {
        document_.set_visible(false);
        path_.set_text(hint);
        path_.remove_css_class("monospace");
        path_.add_css_class("dim-label");
        path_.set_tooltip_text("");
        return;
    }
    const auto& document = cursor->path.document;
    document_.set_visible(document.has_value());
    if (document) {
        document_.set_text("Document " + std::to_string(*document + 1));
    }
    const std::string text = cursor->path.text();
    path_.set_text(text);
    path_.remove_css_class("dim-label");
    path_.add_css_class("monospace");
    // A long path is cut at its start; the tooltip has all of it.
    path_.set_tooltip_text(text);
}

} // namespace quessel::app

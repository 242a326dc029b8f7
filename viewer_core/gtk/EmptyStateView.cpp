// What a window shows with no file open: an icon, a message, "Open..." and the recent files.
#include "viewer_core/gtk/EmptyStateView.hpp"

#include "viewer_core/gtk/ControlStyles.hpp"

#include <adwaita.h>
#include <glibmm/convert.h>
#include <gtkmm/shortcutcontroller.h>

namespace quessel::core {

EmptyStateView::EmptyStateView(const std::string& iconName, const std::string& message,
                               std::function<void(const FileUrl&)> onOpenFile,
                               std::function<void()> onOpenPanel)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 16), onOpenFile_(std::move(onOpenFile)),
      onOpenPanel_(std::move(onOpenPanel)) {
    installControlStyles();
    set_valign(Gtk::Align::CENTER);
    set_halign(Gtk::Align::CENTER);
    set_hexpand(true);
    set_vexpand(true);
    icon_.set_from_icon_name(iconName);
    icon_.add_css_class("dim-label");
    icon_.add_css_class("quessel-empty-icon");
    message_.set_text(message);
    message_.add_css_class("dim-label");
    openButton_.set_label("Open...");
    openButton_.set_halign(Gtk::Align::CENTER);
    openButton_.signal_clicked().connect([this] {
        if (onOpenPanel_) {
            onOpenPanel_();
        }
    });
    // Control+O, the Open command's key, works here too; either way the Open dialog comes up.
    auto shortcuts = Gtk::ShortcutController::create();
    shortcuts->set_scope(Gtk::ShortcutScope::GLOBAL);
    shortcuts->add_shortcut(Gtk::Shortcut::create(
        Gtk::KeyvalTrigger::create(GDK_KEY_o, Gdk::ModifierType::CONTROL_MASK),
        Gtk::ActivateAction::get()));
    openButton_.add_controller(shortcuts);
    // The recent list is at most 400 wide; long paths are elided in the middle to fit.
    recentClamp_ = Gtk::manage(Glib::wrap(adw_clamp_new()));
    adw_clamp_set_maximum_size(ADW_CLAMP(recentClamp_->gobj()), 400);
    adw_clamp_set_child(ADW_CLAMP(recentClamp_->gobj()), GTK_WIDGET(recentList_.gobj()));
    recentList_.set_halign(Gtk::Align::FILL);
    recentClamp_->set_visible(false);
    append(icon_);
    append(message_);
    append(openButton_);
    append(*recentClamp_);
}

void EmptyStateView::setRecentFiles(const std::vector<FileUrl>& files) {
    if (files == shown_) {
        return;
    }
    shown_ = files;
    while (auto* child = recentList_.get_first_child()) {
        recentList_.remove(*child);
    }
    recentClamp_->set_visible(!files.empty());
    if (files.empty()) {
        return;
    }
    auto* header = Gtk::make_managed<Gtk::Label>("Recent Files");
    header->set_halign(Gtk::Align::START);
    header->add_css_class("heading");
    header->add_css_class("dim-label");
    header->add_css_class("quessel-recent-header");
    recentList_.append(*header);
    for (const auto& file : files) {
        recentList_.append(*makeRow(file));
    }
}

Gtk::Button* EmptyStateView::makeRow(const FileUrl& file) {
    // The path is in the file system's encoding; the label needs UTF-8.
    auto* label = Gtk::make_managed<Gtk::Label>(Glib::filename_display_name(file.path()));
    label->set_ellipsize(Pango::EllipsizeMode::MIDDLE);
    label->set_single_line_mode(true);
    label->set_xalign(0);
    label->add_css_class("accent");
    auto* row = Gtk::make_managed<Gtk::Button>();
    row->set_child(*label);
    row->set_has_frame(false);
    row->add_css_class("quessel-recent-row");
    gtk_widget_set_cursor_from_name(GTK_WIDGET(row->gobj()), "pointer");
    row->signal_clicked().connect([this, file] {
        if (onOpenFile_) {
            onOpenFile_(file);
        }
    });
    return row;
}

std::vector<Gtk::Button*> EmptyStateView::recentRows() {
    std::vector<Gtk::Button*> rows;
    for (auto* child = recentList_.get_first_child(); child != nullptr;
         child = child->get_next_sibling()) {
        if (auto* row = dynamic_cast<Gtk::Button*>(child)) {
            rows.push_back(row);
        }
    }
    return rows;
}

} // namespace quessel::core

// The toolbar's title: the open file's name, with its full path as help text and a copy button.
#include "viewer_core/gtk/FileNameToolbarItem.hpp"

#include "viewer_core/gtk/Clipboard.hpp"
#include "viewer_core/gtk/ControlStyles.hpp"

#include <filesystem>

namespace quessel::core {

FileNameToolbarItem::FileNameToolbarItem() : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4) {
    installControlStyles();
    set_valign(Gtk::Align::CENTER);
    name_.add_css_class("dim-label");
    name_.add_css_class("quessel-file-name");
    name_.set_ellipsize(Pango::EllipsizeMode::MIDDLE);
    copyButton_.set_icon_name("edit-copy-symbolic");
    copyButton_.set_has_frame(false);
    copyButton_.add_css_class("dim-label");
    copyButton_.add_css_class("quessel-copy-path");
    copyButton_.set_tooltip_text("Copy full path");
    copyButton_.set_valign(Gtk::Align::CENTER);
    copyButton_.signal_clicked().connect([this] { copyPath(); });
    append(name_);
    append(copyButton_);
    set_visible(false);
}

void FileNameToolbarItem::setPath(const std::optional<std::string>& path) {
    if (path == path_) {
        return;
    }
    path_ = path;
    set_visible(path_.has_value());
    if (!path_) {
        name_.set_text("");
        name_.set_tooltip_text("");
        return;
    }
    name_.set_text(std::filesystem::path(*path_).filename().string());
    name_.set_tooltip_text(*path_);
}

void FileNameToolbarItem::copyPath() {
    if (path_) {
        writeToClipboard(*this, *path_);
    }
}

} // namespace quessel::core

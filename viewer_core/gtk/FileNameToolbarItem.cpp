// The toolbar's title: the open file's name, with its full path as help text and a copy button.
#include "viewer_core/gtk/FileNameToolbarItem.hpp"

#include "viewer_core/gtk/Clipboard.hpp"
#include "viewer_core/gtk/ControlStyles.hpp"

#include <glibmm/convert.h>

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

void FileNameToolbarItem::setUrl(const std::optional<FileUrl>& url) {
    if (url == url_) {
        return;
    }
    url_ = url;
    set_visible(url_.has_value());
    shownPath_ = url_ ? Glib::filename_display_name(url_->path()).raw() : std::string();
    name_.set_text(url_ ? url_->displayName() : std::string());
    name_.set_tooltip_text(shownPath_);
}

void FileNameToolbarItem::copyPath() {
    if (url_) {
        writeToClipboard(*this, shownPath_);
    }
}

} // namespace quessel::core

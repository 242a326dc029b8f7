// The toolbar's title: the open file's name, with its full path as help text and a copy button.
#pragma once

#include "viewer_core/FileUrl.hpp"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>

#include <optional>
#include <string>

namespace quessel::core {

class FileNameToolbarItem : public Gtk::Box {
public:
    FileNameToolbarItem();

    // The open file, or none when no file is open (the item then shows nothing).
    void setUrl(const std::optional<FileUrl>& url);

    std::string shownName() const { return name_.get_text(); }

    // Puts the full path (never a URI) on the clipboard, as the copy button does.
    void copyPath();

private:
    std::optional<FileUrl> url_;
    // The path as UTF-8 text, for the help text and the clipboard.
    std::string shownPath_;
    Gtk::Label name_;
    Gtk::Button copyButton_;
};

} // namespace quessel::core

// The toolbar's title: the open file's name, with its full path as help text and a copy button.
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>

#include <optional>
#include <string>

namespace quessel::core {

class FileNameToolbarItem : public Gtk::Box {
public:
    FileNameToolbarItem();

    // The open file's file-system path, or none when no file is open (the item then shows
    // nothing).
    void setPath(const std::optional<std::string>& path);

    std::string shownName() const { return name_.get_text(); }

    // Puts the full path (never a URI) on the clipboard, as the copy button does.
    void copyPath();

private:
    std::optional<std::string> path_;
    Gtk::Label name_;
    Gtk::Button copyButton_;
};

} // namespace quessel::core

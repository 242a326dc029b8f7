// The line under the page that says where the cursor is: the path of its node.
#pragma once

#include "app/web/PageCursor.hpp"

#include <gtkmm/box.h>
#include <gtkmm/label.h>

#include <optional>
#include <string>

namespace quessel::app {

// Shows the cursor node's path as yq and jq read it, after the document's number in a stream of
// several; a hint while no row is the cursor. The path is selectable, so that part of it can be
// copied too.
class PathBar : public Gtk::Box {
public:
    static constexpr const char* hint = "Click a row or press Down to see its path";

    PathBar();

    void show(const std::optional<web::PageCursor>& cursor);

    // What the bar says, for tests.
    std::string documentText() const { return document_.get_text(); }
    std::string pathText() const { return path_.get_text(); }

private:
    Gtk::Label document_;
    Gtk::Label path_;
};

} // namespace quessel::app

// The bar over a document whose file another program changed or took away.
#pragma once

#include "app/FileFollower.hpp"

#include <gtkmm/actionbar.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>

#include <functional>
#include <string>

namespace quessel::app {

// Shows the follower's notice, worded for the file: with unsaved edits, "Reload" (which asks
// before the edits go) and "Keep Mine"; for a file that is gone, "Save" to write it again.
// Hidden while there is nothing to tell.
class FileNoticeBar : public Gtk::ActionBar {
public:
    struct Routes {
        std::function<void()> reload;
        std::function<void()> keepMine;
        std::function<void()> save;
    };

    explicit FileNoticeBar(Routes routes);

    void show(FileFollower::Notice notice, const std::string& fileName);

    Gtk::Label& message() noexcept { return message_; }
    Gtk::Button& reloadButton() noexcept { return reload_; }
    Gtk::Button& keepMineButton() noexcept { return keepMine_; }
    Gtk::Button& saveButton() noexcept { return save_; }

private:
    Routes routes_;
    Gtk::Label message_;
    Gtk::Button reload_{"Reload"};
    Gtk::Button keepMine_{"Keep Mine"};
    Gtk::Button save_{"Save"};
};

} // namespace quessel::app

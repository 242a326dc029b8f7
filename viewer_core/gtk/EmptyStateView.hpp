// What a window shows with no file open: an icon, a message, "Open..." and the recent files.
#pragma once

#include "viewer_core/FileUrl.hpp"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

#include <functional>
#include <string>
#include <vector>

namespace quessel::core {

class EmptyStateView : public Gtk::Box {
public:
    EmptyStateView(const std::string& iconName, const std::string& message,
                   std::function<void(const FileUrl&)> onOpenFile,
                   std::function<void()> onOpenPanel);

    // Rebuilds the list only when it differs from the one shown; an empty list shows no
    // "Recent Files" header at all.
    void setRecentFiles(const std::vector<FileUrl>& files);

    // The parts, for tests.
    Gtk::Button& openButton() { return openButton_; }
    Gtk::Box& recentList() { return recentList_; }
    std::vector<Gtk::Button*> recentRows();

private:
    Gtk::Button* makeRow(const FileUrl& file);

    std::function<void(const FileUrl&)> onOpenFile_;
    std::function<void()> onOpenPanel_;
    std::vector<FileUrl> shown_;
    Gtk::Image icon_;
    Gtk::Label message_;
    Gtk::Button openButton_;
    Gtk::Widget* recentClamp_ = nullptr;
    Gtk::Box recentList_{Gtk::Orientation::VERTICAL, 8};
};

} // namespace quessel::core

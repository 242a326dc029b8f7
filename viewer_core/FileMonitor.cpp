// Watching one file on disk for any change another program makes to it, in bursts.
#include "viewer_core/FileMonitor.hpp"

#include <glibmm/error.h>
#include <glibmm/main.h>

#include <algorithm>
#include <iostream>

namespace quessel::core {
namespace {

// GIO holds back repeated change events of a file for this long by default (800 ms), which
// would come on top of the wait for the burst's end.
constexpr int eventRateLimitMs = 100;

Glib::RefPtr<Gio::FileMonitor> monitor(const Glib::RefPtr<Gio::File>& file, bool folder) {
    try {
        auto made = folder ? file->monitor_directory(Gio::FileMonitorFlags::WATCH_MOVES)
                           : file->monitor_file(Gio::FileMonitorFlags::WATCH_MOVES);
        made->set_rate_limit(eventRateLimitMs);
        return made;
    } catch (const Glib::Error& error) {
        std::cerr << "Warning: cannot watch " << file->get_parse_name() << ": " << error.what()
                  << std::endl;
        return {};
    }
}

} // namespace

FileMonitor::FileMonitor(const std::string& path, Changed changed, std::chrono::milliseconds quiet,
                         std::chrono::milliseconds longest)
    : path_(path), changed_(std::move(changed)), quiet_(quiet), longest_(longest) {
    watch();
}

FileMonitor::~FileMonitor() {
    timer_.disconnect();
    fileEvents_.disconnect();
    folderEvents_.disconnect();
    // A monitor still referenced elsewhere would go on watching; cancelled, it stops at once.
    if (fileMonitor_) {
        fileMonitor_->cancel();
    }
    if (folderMonitor_) {
        folderMonitor_->cancel();
    }
}

void FileMonitor::watch() {
    const auto file = Gio::File::create_for_path(path_);
    name_ = file->get_basename();
    // The file's own monitor sees writes through a link to it; the folder's sees the name being
    // taken away and given again, which a monitor of the file alone may miss.
    fileMonitor_ = monitor(file, false);
    if (fileMonitor_) {
        fileEvents_ = fileMonitor_->signal_changed().connect(
            [this](const auto&, const auto&, Gio::FileMonitor::Event) { noticed(); });
    }
    if (const auto folder = file->get_parent()) {
        folderMonitor_ = monitor(folder, true);
    }
    if (folderMonitor_) {
        folderEvents_ = folderMonitor_->signal_changed().connect(
            [this](const auto& changed, const auto& other, Gio::FileMonitor::Event) {
                folderEvent(changed, other);
            });
    }
}

void FileMonitor::folderEvent(const Glib::RefPtr<Gio::File>& file,
                              const Glib::RefPtr<Gio::File>& other) {
    // A rename names the file on either side: renamed away, or renamed over it.
    const bool ours =
        (file && file->get_basename() == name_) || (other && other->get_basename() == name_);
    if (ours) {
        noticed();
    }
}

void FileMonitor::noticed() {
    const auto now = Clock::now();
    if (!burstStart_) {
        burstStart_ = now;
    }
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - *burstStart_);
    const auto wait = std::clamp(longest_ - waited, std::chrono::milliseconds(0), quiet_);
    timer_.disconnect();
    timer_ = Glib::signal_timeout().connect(
        [this] {
            settled();
            return false;
        },
        static_cast<unsigned>(wait.count()));
}

void FileMonitor::settled() {
    burstStart_.reset();
    if (changed_) {
        changed_();
    }
}

} // namespace quessel::core

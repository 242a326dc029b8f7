// Watching one file on disk for any change another program makes to it, in bursts.
#pragma once

#include <giomm/file.h>
#include <giomm/filemonitor.h>
#include <sigc++/connection.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace quessel::core {

// Watches the file and its folder, so that a write in place, a truncation, an atomic
// replacement by rename, a removal and a re-creation are all seen, whichever way the writer
// works. The events of a burst of writes give one call of `changed`, `quiet` after the last of
// them; a burst that goes on (a growing log) gives one call at least every `longest`, so the
// file is followed while it grows. Main thread only; nothing is called after destruction.
class FileMonitor {
public:
    using Changed = std::function<void()>;

    static constexpr std::chrono::milliseconds defaultQuiet{300};
    static constexpr std::chrono::milliseconds defaultLongest{1000};

    FileMonitor(const std::string& path, Changed changed,
                std::chrono::milliseconds quiet = defaultQuiet,
                std::chrono::milliseconds longest = defaultLongest);
    FileMonitor(const FileMonitor&) = delete;
    FileMonitor& operator=(const FileMonitor&) = delete;
    ~FileMonitor();

    const std::string& path() const noexcept { return path_; }

private:
    using Clock = std::chrono::steady_clock;

    void watch();
    void folderEvent(const Glib::RefPtr<Gio::File>& file, const Glib::RefPtr<Gio::File>& other);
    void noticed();
    void settled();

    std::string path_;
    std::string name_;
    Changed changed_;
    std::chrono::milliseconds quiet_;
    std::chrono::milliseconds longest_;
    Glib::RefPtr<Gio::FileMonitor> fileMonitor_;
    Glib::RefPtr<Gio::FileMonitor> folderMonitor_;
    sigc::connection fileEvents_;
    sigc::connection folderEvents_;
    sigc::connection timer_;
    // When the burst being waited out began.
    std::optional<Clock::time_point> burstStart_;
};

} // namespace quessel::core

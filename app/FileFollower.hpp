// Following the open file on disk: another program's changes reach the document, and unsaved
// edits are never lost to them.
#pragma once

#include "app/BackgroundWork.hpp"
#include "viewer_core/FileIdentity.hpp"
#include "viewer_core/FileMonitor.hpp"
#include "viewer_core/UserDefaults.hpp"
#include "viewer_core/ViewerAppState.hpp"

#include <sigc++/connection.h>
#include <sigc++/signal.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quessel::app {

// Watches the model's file while "Reload When Changed" is on. A new version on disk is read on a
// worker thread and taken as the document's text when the document has no unsaved edits; with
// edits, the windows are told (`Notice::changedWhileEdited`) and the user chooses between
// reload() and keepMine(). A file that went away is told as `Notice::gone`: the text stays, and
// the file's return reloads it. A version that cannot be read is reported once, not on every
// event. File → Reload is reload(), whatever the setting.
class FileFollower {
public:
    enum class Notice { none, changedWhileEdited, gone };

    using Read = std::function<core::ViewerAppState::ReadOutcome(const core::FileUrl&)>;
    // Runs `then` once unsaved changes may go: at once, or after asking the user.
    using Settle = std::function<void(std::function<void()> then)>;

    // Where the setting lives in Quessel's own store; on when absent.
    static constexpr const char* reloadWhenChangedKey = "reloadWhenChanged";

    struct Options {
        std::shared_ptr<core::UserDefaults> store; // the standard store when none
        Read read;                                 // the model's reading when none
        std::chrono::milliseconds quiet = core::FileMonitor::defaultQuiet;
        std::chrono::milliseconds longest = core::FileMonitor::defaultLongest;
    };

    FileFollower(core::ViewerAppState& appState, Settle settle);
    FileFollower(core::ViewerAppState& appState, Settle settle, Options options);
    FileFollower(const FileFollower&) = delete;
    FileFollower& operator=(const FileFollower&) = delete;
    ~FileFollower();

    bool reloadsWhenChanged() const noexcept { return enabled_; }
    // Stored at once; turning it on takes a version that changed meanwhile.
    void setReloadsWhenChanged(bool enabled);

    Notice notice() const noexcept { return notice_; }
    sigc::signal<void()>& signalNoticeChanged() noexcept { return noticeChanged_; }
    // A short message for the user: the file was reloaded, or could not be.
    sigc::signal<void(const std::string&)>& signalReported() noexcept { return reported_; }

    // Takes the file's version on disk, after the user lets unsaved edits go.
    void reload();
    // Leaves the edits as they are and the notice away; saving asks before overwriting.
    void keepMine();

    // A version being read, until it is taken or dropped (tests wait on it).
    bool reading() const noexcept { return work_.pending(); }
    // Whether the file is being watched now.
    bool watching() const noexcept { return monitor_ != nullptr; }

private:
    struct Outcome {
        core::FileUrl url;
        core::ViewerAppState::ReadOutcome read;
    };

    void followModel();
    void watch();
    void changedOnDisk();
    void startRead(bool asked);
    void finish(Outcome outcome);
    void readFailed(const core::FileUrl& url, const std::string& reason);
    void setNotice(Notice notice);

    core::ViewerAppState& appState_;
    Settle settle_;
    std::shared_ptr<core::UserDefaults> store_;
    Read read_;
    std::chrono::milliseconds quiet_;
    std::chrono::milliseconds longest_;
    bool enabled_ = true;
    Notice notice_ = Notice::none;
    sigc::signal<void()> noticeChanged_;
    sigc::signal<void(const std::string&)> reported_;
    std::unique_ptr<core::FileMonitor> monitor_;
    std::optional<core::FileUrl> watchedURL_;
    // The version last dealt with without taking it (asked about, or unreadable): the events
    // that keep coming for it change nothing.
    std::optional<core::FileIdentity> settledVersion_;
    // The read under way: whether the user asked for it, and the model's text as it began.
    bool readAsked_ = false;
    std::uint64_t generationAtStart_ = 0;
    sigc::connection willChange_;
    sigc::connection pendingFollow_;
    // Last, so that it goes first: no outcome arrives for a follower being taken down.
    BackgroundWork<Outcome> work_;
};

} // namespace quessel::app

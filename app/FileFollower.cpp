// Following the open file on disk: another program's changes reach the document, and unsaved
// edits are never lost to them.
#include "app/FileFollower.hpp"

#include <glibmm/main.h>

namespace quessel::app {

FileFollower::FileFollower(core::ViewerAppState& appState, Settle settle)
    : FileFollower(appState, std::move(settle), Options{}) {}

FileFollower::FileFollower(core::ViewerAppState& appState, Settle settle, Options options)
    : appState_(appState), settle_(std::move(settle)),
      store_(options.store ? std::move(options.store) : core::UserDefaults::standard()),
      read_(options.read ? std::move(options.read) : &core::ViewerAppState::readForOpen),
      quiet_(options.quiet), longest_(options.longest),
      work_([this](Outcome outcome) { finish(std::move(outcome)); }) {
    enabled_ = !store_->contains(reloadWhenChangedKey) || store_->boolValue(reloadWhenChangedKey);
    willChange_ = appState_.signalWillChange().connect([this] {
        if (!pendingFollow_.connected()) {
            pendingFollow_ = Glib::signal_idle().connect([this] {
                followModel();
                return false;
            });
        }
    });
    followModel();
}

FileFollower::~FileFollower() {
    willChange_.disconnect();
    pendingFollow_.disconnect();
}

void FileFollower::setReloadsWhenChanged(bool enabled) {
    store_->setBool(reloadWhenChangedKey, enabled);
    enabled_ = enabled;
    watch();
    if (enabled_) {
        changedOnDisk();
    } else if (notice_ == Notice::changedWhileEdited) {
        setNotice(Notice::none);
    }
}

// The model changed: another file (or none) is watched, and a notice the model has made moot
// (a save wrote the file again, or another file is open) goes.
void FileFollower::followModel() {
    pendingFollow_.disconnect();
    if (appState_.fileURL() != watchedURL_) {
        watchedURL_ = appState_.fileURL();
        work_.cancel();
        settledVersion_.reset();
        setNotice(Notice::none);
        watch();
    } else if (notice_ != Notice::none && !appState_.hasChangedOnDisk()) {
        setNotice(Notice::none);
    }
}

void FileFollower::watch() {
    const bool wanted = enabled_ && watchedURL_.has_value();
    if (!wanted) {
        monitor_.reset();
    } else if (!monitor_ || monitor_->path() != watchedURL_->path()) {
        monitor_ = std::make_unique<core::FileMonitor>(
            watchedURL_->path(), [this] { changedOnDisk(); }, quiet_, longest_);
    }
}

void FileFollower::changedOnDisk() {
    if (!enabled_ || !appState_.fileURL()) {
        return;
    }
    if (!appState_.hasChangedOnDisk()) {
        // Our own save, or the version we have back again.
        settledVersion_.reset();
        setNotice(Notice::none);
        return;
    }
    const auto version = core::FileIdentity::ofPath(appState_.fileURL()->path());
    if (!version) {
        setNotice(Notice::gone);
        return;
    }
    if (version == settledVersion_) {
        return;
    }
    if (appState_.isDirty()) {
        settledVersion_ = version;
        setNotice(Notice::changedWhileEdited);
        return;
    }
    startRead(false);
}

void FileFollower::reload() {
    if (!appState_.fileURL()) {
        return;
    }
    settle_([this] { startRead(true); });
}

void FileFollower::keepMine() {
    setNotice(Notice::none);
}

void FileFollower::startRead(bool asked) {
    if (!appState_.fileURL()) {
        return;
    }
    readAsked_ = asked;
    generationAtStart_ = appState_.contentGeneration();
    work_.start([read = read_, url = *appState_.fileURL()](const std::atomic<bool>&) {
        return Outcome{url, read(url)};
    });
}

void FileFollower::finish(Outcome outcome) {
    if (appState_.fileURL() != outcome.url) {
        return;
    }
    if (appState_.contentGeneration() != generationAtStart_) {
        // Edited while it was read: those edits are not ours to drop.
        changedOnDisk();
        return;
    }
    if (auto* failure = std::get_if<std::string>(&outcome.read)) {
        readFailed(outcome.url, *failure);
        return;
    }
    settledVersion_.reset();
    appState_.completeReload(std::get<core::LoadedText>(std::move(outcome.read)));
    setNotice(Notice::none);
    reported_.emit("Reloaded \u201c" + outcome.url.displayName() + "\u201d");
}

void FileFollower::readFailed(const core::FileUrl& url, const std::string& reason) {
    // Reads of our own accord are made once per version, so each failure is told once.
    settledVersion_ = core::FileIdentity::ofPath(url.path());
    if (!settledVersion_) {
        setNotice(Notice::gone);
    }
    if (readAsked_ || settledVersion_) {
        reported_.emit("Could not reload file: " + reason);
    }
}

void FileFollower::setNotice(Notice notice) {
    if (notice_ != notice) {
        notice_ = notice;
        noticeChanged_.emit();
    }
}

} // namespace quessel::app

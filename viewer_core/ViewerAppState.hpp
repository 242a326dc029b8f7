// The document model of a viewer window: the open file, its text, the view flags, recent files.
#pragma once

#include "viewer_core/FileIdentity.hpp"
#include "viewer_core/FileUrl.hpp"
#include "viewer_core/TextFile.hpp"
#include "viewer_core/UserDefaults.hpp"

#include <sigc++/signal.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quessel::core {

// Observable: signalWillChange() is emitted before every assignment to an observable property,
// equal values included; observers re-read the whole object. Callers assign fileContent,
// isEditing and showSearch directly; the other properties change only through the operations.
// Operations never throw: failures end up in errorMessage (open) or on standard output (save).
// Main thread only.
class ViewerAppState {
public:
    // Loads the recent-files list from the store (the standard store when none is given)
    // before returning. A negative maximum is taken as 0.
    ViewerAppState(std::string recentFilesKey, int maxRecentFiles,
                   std::shared_ptr<UserDefaults> store = nullptr);
    ViewerAppState(const ViewerAppState&) = delete;
    ViewerAppState& operator=(const ViewerAppState&) = delete;
    virtual ~ViewerAppState();

    sigc::signal<void()>& signalWillChange() noexcept { return willChange_; }

    virtual const std::optional<FileUrl>& fileURL() const { return fileURL_; }
    virtual const std::string& fileContent() const { return fileContent_; }
    virtual void setFileContent(std::string text);
    virtual const std::string& originalContent() const { return originalContent_; }
    virtual bool isEditing() const { return isEditing_; }
    virtual void setIsEditing(bool editing);
    virtual bool showSearch() const { return showSearch_; }
    virtual void setShowSearch(bool show);
    virtual const std::vector<FileUrl>& recentFiles() const { return recentFiles_; }
    virtual const std::optional<std::string>& errorMessage() const { return errorMessage_; }

    const std::string& recentFilesKey() const noexcept { return recentFilesKey_; }
    int maxRecentFiles() const noexcept { return maxRecentFiles_; }

    // fileContent and originalContent differ under canonical equivalence. Answered from a cache
    // while neither text has been assigned since the last answer, so reading it on every
    // window refresh costs nothing however long the text is.
    virtual bool isDirty() const;
    // The open file's last path component as UTF-8 text; "Untitled" with no file open.
    virtual std::string fileName() const;

    virtual void openFile(const FileUrl& url);

    // What reading a file for opening gave: its text, or why it could not be read.
    using ReadOutcome = std::variant<LoadedText, std::string>;
    // openFile in two halves, for a caller that reads away from the main thread: readForOpen
    // touches no model and may run on any thread; completeOpen then does with its outcome
    // exactly what openFile does. openFile(url) is completeOpen(url, readForOpen(url)).
    static ReadOutcome readForOpen(const FileUrl& url);
    virtual void completeOpen(const FileUrl& url, ReadOutcome outcome);
    // Takes the open file's new version, read from disk after another program changed it: the
    // text and the saved text become the new text, and nothing else changes (the file, the view
    // flags, the recent files). Unsaved edits go with it: the caller asks first.
    virtual void completeReload(LoadedText loaded);
    virtual void saveFile();
    virtual void closeFile();
    virtual void addToRecentFiles(const FileUrl& url);
    virtual void clearRecentFiles();

    // Whether the open file on disk is no longer the version last read or written here (another
    // program wrote, replaced or removed it). False with no file open.
    bool hasChangedOnDisk() const;

    // Why the last save failed, in the words of the standard-output line; none after a successful
    // save or before any. Windows use it to tell the user, not only the terminal.
    const std::optional<std::string>& lastSaveError() const { return lastSaveError_; }

    // Counts failed opens, so a window can tell a new failure from the previous one even when
    // both carry the same message.
    std::uint64_t failedOpenCount() const { return failedOpenCount_; }

    // Changes with every assignment of either text: a caller that compares two readings knows
    // whether the document was edited, opened or closed in between.
    std::uint64_t contentGeneration() const noexcept { return contentGeneration_; }

    // Counts reloads (completeReload): a window tells a text that came from disk from an edit.
    std::uint64_t reloadCount() const noexcept { return reloadCount_; }

    // Called with the file after every successful open; the application passes each file on to
    // the desktop's shared list of recent files, which this library cannot reach without GTK.
    void setOpenedFileHook(std::function<void(const FileUrl&)> hook) {
        openedFileHook_ = std::move(hook);
    }

protected:
    virtual void setFileURL(std::optional<FileUrl> url);
    virtual void setOriginalContent(std::string text);
    virtual void setRecentFiles(std::vector<FileUrl> files);
    virtual void setErrorMessage(std::optional<std::string> message);

private:
    void loadRecentFiles();
    void saveRecentFiles();
    void willChange() { willChange_.emit(); }
    void reportSaveFailure(std::string description);

    std::optional<FileUrl> fileURL_;
    std::string fileContent_;
    std::string originalContent_;
    bool isEditing_ = false;
    bool showSearch_ = false;
    std::vector<FileUrl> recentFiles_;
    std::optional<std::string> errorMessage_;
    const std::string recentFilesKey_;
    const int maxRecentFiles_;

    std::shared_ptr<UserDefaults> store_;
    sigc::signal<void()> willChange_;
    std::function<void(const FileUrl&)> openedFileHook_;
    // The file on disk as of the last open or save.
    std::optional<FileIdentity> diskIdentity_;
    std::optional<std::string> lastSaveError_;
    std::uint64_t failedOpenCount_ = 0;
    std::uint64_t reloadCount_ = 0;

    // Bumped on every assignment of either text; the cached answer holds for one pair.
    std::uint64_t contentGeneration_ = 0;
    mutable std::uint64_t dirtyGeneration_ = UINT64_MAX;
    mutable bool dirty_ = false;
};

} // namespace quessel::core

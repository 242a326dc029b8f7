// The document model of a viewer window: the open file, its text, the view flags, recent files.
#include "viewer_core/ViewerAppState.hpp"

#include "viewer_core/AtomicFile.hpp"
#include "viewer_core/FileError.hpp"
#include "viewer_core/RecentFiles.hpp"
#include "viewer_core/TextEquivalence.hpp"
#include "viewer_core/TextFile.hpp"

#include <algorithm>
#include <iostream>

namespace quessel::core {
ViewerAppState::ViewerAppState(std::string recentFilesKey, int maxRecentFiles,
                               std::shared_ptr<UserDefaults> store)
    : recentFilesKey_(std::move(recentFilesKey)), maxRecentFiles_(std::max(0, maxRecentFiles)),
      store_(store ? std::move(store) : UserDefaults::standard()) {
    loadRecentFiles();
}

ViewerAppState::~ViewerAppState() = default;

void ViewerAppState::setFileContent(std::string text) {
    willChange();
    fileContent_ = std::move(text);
    ++contentGeneration_;
}

void ViewerAppState::setIsEditing(bool editing) {
    willChange();
    isEditing_ = editing;
}

void ViewerAppState::setShowSearch(bool show) {
    willChange();
    showSearch_ = show;
}

void ViewerAppState::setFileURL(std::optional<FileUrl> url) {
    willChange();
    fileURL_ = std::move(url);
}

void ViewerAppState::setOriginalContent(std::string text) {
    willChange();
    originalContent_ = std::move(text);
    ++contentGeneration_;
}

void ViewerAppState::setRecentFiles(std::vector<FileUrl> files) {
    willChange();
    recentFiles_ = std::move(files);
}

void ViewerAppState::setErrorMessage(std::optional<std::string> message) {
    willChange();
    errorMessage_ = std::move(message);
}

bool ViewerAppState::isDirty() const {
    if (dirtyGeneration_ != contentGeneration_) {
        dirty_ = !canonicallyEquivalent(fileContent(), originalContent());
        dirtyGeneration_ = contentGeneration_;
    }
    return dirty_;
}

std::string ViewerAppState::fileName() const {
    return fileURL() ? fileURL()->displayName() : "Untitled";
}

void ViewerAppState::openFile(const FileUrl& url) {
    completeOpen(url, readForOpen(url));
}

ViewerAppState::ReadOutcome ViewerAppState::readForOpen(const FileUrl& url) {
    try {
        return readTextFile(url.path());
    } catch (const std::exception& error) {
        return std::string(error.what());
    }
}

void ViewerAppState::completeOpen(const FileUrl& url, ReadOutcome outcome) {
    auto* loaded = std::get_if<LoadedText>(&outcome);
    std::optional<std::string> failure;
    std::string original;
    if (loaded == nullptr) {
        failure = std::get<std::string>(std::move(outcome));
    } else {
        try {
            // Both copies exist before anything is assigned, so a failure leaves the model whole.
            original = loaded->text;
        } catch (const std::exception& error) {
            failure = error.what();
        }
    }
    if (failure) {
        ++failedOpenCount_;
        setErrorMessage("Could not open file: " + *failure);
        return;
    }
    setFileURL(url);
    setFileContent(std::move(loaded->text));
    setOriginalContent(std::move(original));
    setIsEditing(false);
    diskIdentity_ = loaded->identity;
    addToRecentFiles(url);
    if (openedFileHook_) {
        openedFileHook_(url);
    }
}

void ViewerAppState::completeReload(LoadedText loaded) {
    if (!fileURL()) {
        return;
    }
    std::string original = loaded.text;
    ++reloadCount_;
    setFileContent(std::move(loaded.text));
    setOriginalContent(std::move(original));
    diskIdentity_ = loaded.identity;
}

void ViewerAppState::saveFile() {
    if (!fileURL()) {
        return;
    }
    try {
        diskIdentity_ = writeFileAtomically(fileURL()->path(), fileContent());
    } catch (const FileError& error) {
        reportSaveFailure(error.description());
        return;
    } catch (const std::exception& error) {
        reportSaveFailure(error.what());
        return;
    }
    lastSaveError_.reset();
    setOriginalContent(fileContent());
}

void ViewerAppState::reportSaveFailure(std::string description) {
    std::cout << "Error saving file: " << description << std::endl;
    lastSaveError_ = std::move(description);
}

void ViewerAppState::closeFile() {
    setFileURL(std::nullopt);
    setFileContent({});
    setOriginalContent({});
    setIsEditing(false);
    setShowSearch(false);
    diskIdentity_.reset();
}

void ViewerAppState::addToRecentFiles(const FileUrl& url) {
    std::vector<FileUrl> others = recentFiles();
    std::erase(others, url);
    setRecentFiles(others);
    std::vector<FileUrl> files{url};
    files.insert(files.end(), others.begin(), others.end());
    setRecentFiles(files);
    if (files.size() > static_cast<std::size_t>(maxRecentFiles_)) {
        files.erase(files.begin() + maxRecentFiles_, files.end());
        setRecentFiles(std::move(files));
    }
    saveRecentFiles();
}

void ViewerAppState::clearRecentFiles() {
    setRecentFiles({});
    saveRecentFiles();
}

bool ViewerAppState::hasChangedOnDisk() const {
    if (!fileURL()) {
        return false;
    }
    return FileIdentity::ofPath(fileURL()->path()) != diskIdentity_;
}

void ViewerAppState::loadRecentFiles() {
    setRecentFiles(core::loadRecentFiles(*store_, recentFilesKey_));
}

void ViewerAppState::saveRecentFiles() {
    try {
        core::saveRecentFiles(*store_, recentFilesKey_, recentFiles());
    } catch (const std::exception& error) {
        // A key the store cannot hold; the list still works for this run.
        std::cerr << "Warning: could not save the recent-files list: " << error.what() << std::endl;
    }
}

} // namespace quessel::core

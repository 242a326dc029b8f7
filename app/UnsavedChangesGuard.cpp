// Keeps unsaved changes from going silently: every route that would drop the document's edits
// asks Save, Discard or Cancel first, and a save over a file changed on disk asks first too.
#include "app/UnsavedChangesGuard.hpp"

#include "viewer_core/gtk/ChangedOnDiskDialog.hpp"
#include "viewer_core/gtk/MessageDialog.hpp"
#include "viewer_core/gtk/UnsavedChangesDialog.hpp"

namespace quessel::app {

using core::UnsavedChangesDialog;

std::optional<std::string> saveExplainingFailure(core::ViewerAppState& appState) {
    appState.saveFile();
    return appState.lastSaveError();
}

UnsavedChangesGuard::UnsavedChangesGuard(core::ViewerAppState& appState, ParentWindow parentWindow,
                                         OpenFile openFile)
    : appState_(appState), parentWindow_(std::move(parentWindow)), openFile_(std::move(openFile)) {}

void UnsavedChangesGuard::settle(std::function<void()> then) {
    if (asking_)
        return;
    if (!appState_.fileURL() || !appState_.isDirty()) {
        then();
        return;
    }
    asking_ = true;
    UnsavedChangesDialog::ask(parentWindow_(), appState_.fileName(),
                              [this, then = std::move(then)](UnsavedChangesDialog::Choice choice) {
                                  asking_ = false;
                                  if (choice == UnsavedChangesDialog::Choice::save)
                                      save(then);
                                  else if (choice == UnsavedChangesDialog::Choice::discard)
                                      then();
                              });
}

void UnsavedChangesGuard::save(std::function<void()> then) {
    if (asking_ || !appState_.fileURL())
        return;
    if (!appState_.hasChangedOnDisk()) {
        writeNow(then);
        return;
    }
    asking_ = true;
    core::ChangedOnDiskDialog::ask(parentWindow_(), appState_.fileName(),
                                   [this, then = std::move(then)](bool overwrite) {
                                       asking_ = false;
                                       if (overwrite)
                                           writeNow(then);
                                   });
}

void UnsavedChangesGuard::writeNow(const std::function<void()>& then) {
    if (const auto failure = saveExplainingFailure(appState_)) {
        tellSaveFailed(*failure);
        return;
    }
    if (then)
        then();
}

void UnsavedChangesGuard::tellSaveFailed(const std::string& reason) {
    core::MessageDialog::Content content{
        .heading = "Could not save \u201c" + appState_.fileName() + "\u201d",
        .body = reason + "\n\nThe document stays open with its changes.",
        .responses = {{"close", "_Close"}},
        .defaultResponse = "close",
        .closeResponse = "close",
    };
    asking_ = true;
    core::MessageDialog::present(parentWindow_(), content,
                                 [this](const std::string&) { asking_ = false; });
}

void UnsavedChangesGuard::open(const core::FileUrl& url) {
    settle([this, url] {
        if (openFile_)
            openFile_(url);
        else
            appState_.openFile(url);
    });
}

void UnsavedChangesGuard::close() {
    settle([this] { appState_.closeFile(); });
}

} // namespace quessel::app

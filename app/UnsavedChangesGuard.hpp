// Keeps unsaved changes from going silently: every route that would drop the document's edits
// asks Save, Discard or Cancel first, and a save over a file changed on disk asks first too.
#pragma once

#include "viewer_core/FileUrl.hpp"
#include "viewer_core/ViewerAppState.hpp"

#include <gtkmm/window.h>

#include <functional>
#include <optional>
#include <string>

namespace quessel::app {

// The model's own operations stay unconditional; the application sends the user's requests
// (open by any route, close, window close, quit, save) through here instead.
class UnsavedChangesGuard {
public:
    // The window the questions are modal to, or none.
    using ParentWindow = std::function<Gtk::Window*()>;
    // How a file opens once the document's changes may go; the model's openFile by default.
    using OpenFile = std::function<void(const core::FileUrl&)>;

    UnsavedChangesGuard(core::ViewerAppState& appState, ParentWindow parentWindow,
                        OpenFile openFile = nullptr);
    UnsavedChangesGuard(const UnsavedChangesGuard&) = delete;
    UnsavedChangesGuard& operator=(const UnsavedChangesGuard&) = delete;

    // Runs `then` at once when no unsaved change would be lost. Otherwise asks: Save runs it
    // after a successful save, Discard runs it at once, Cancel and a failed save run nothing.
    // A request made while a question is showing is dropped: the question is modal.
    void settle(std::function<void()> then);

    // Saves the document; when the file changed on disk since it was read or saved, asks before
    // overwriting. A failed save keeps the document and tells the user why. `then` runs only
    // after a successful save.
    void save(std::function<void()> then = {});

    void open(const core::FileUrl& url);
    void close();

    bool isAsking() const noexcept { return asking_; }

private:
    void writeNow(const std::function<void()>& then);
    void tellSaveFailed(const std::string& reason);

    core::ViewerAppState& appState_;
    ParentWindow parentWindow_;
    OpenFile openFile_;
    bool asking_ = false;
};

// Saves through the model and answers why it failed, or none after a successful save. The model
// reports a failed save only as a line on standard output; the line still goes there.
std::optional<std::string> saveExplainingFailure(core::ViewerAppState& appState);

} // namespace quessel::app

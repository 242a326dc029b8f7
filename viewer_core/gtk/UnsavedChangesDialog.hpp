// The question asked before unsaved changes would go: Save, Discard or Cancel.
#pragma once

#include <gtkmm/window.h>

#include <functional>
#include <string>

typedef struct _AdwMessageDialog AdwMessageDialog;

namespace quessel::core {

class UnsavedChangesDialog {
public:
    enum class Choice { save, discard, cancel };

    // Response ids, for whoever answers the dialog without a pointer (tests, accessibility).
    static constexpr const char* saveId = "save";
    static constexpr const char* discardId = "discard";
    static constexpr const char* cancelId = "cancel";

    // Asks about the unsaved changes of `fileName`; closing the dialog counts as Cancel.
    static AdwMessageDialog* ask(Gtk::Window* parent, const std::string& fileName,
                                 std::function<void(Choice)> answered);
};

} // namespace quessel::core

// The question asked before a save would overwrite changes another program made to the file.
#pragma once

#include <gtkmm/window.h>

#include <functional>
#include <string>

typedef struct _AdwMessageDialog AdwMessageDialog;

namespace quessel::core {

class ChangedOnDiskDialog {
public:
    static constexpr const char* overwriteId = "overwrite";
    static constexpr const char* cancelId = "cancel";

    // Calls `answered(true)` only when the user chooses to overwrite; closing counts as Cancel.
    static AdwMessageDialog* ask(Gtk::Window* parent, const std::string& fileName,
                                 std::function<void(bool overwrite)> answered);
};

} // namespace quessel::core

// The question asked before a save would overwrite changes another program made to the file.
#include "viewer_core/gtk/ChangedOnDiskDialog.hpp"

#include "viewer_core/gtk/MessageDialog.hpp"

namespace quessel::core {

AdwMessageDialog* ChangedOnDiskDialog::ask(Gtk::Window* parent, const std::string& fileName,
                                           std::function<void(bool overwrite)> answered) {
    MessageDialog::Content content{
        .heading = "\u201c" + fileName + "\u201d changed on disk",
        .body = "Another program changed the file since it was opened or last saved. Saving "
                "replaces its changes with this text.",
        .responses = {{cancelId, "_Cancel"},
                      {overwriteId, "_Overwrite", MessageDialog::Look::destructive}},
        .defaultResponse = cancelId,
        .closeResponse = cancelId,
    };
    return MessageDialog::present(
        parent, content,
        [answered = std::move(answered)](const std::string& id) { answered(id == overwriteId); });
}

} // namespace quessel::core

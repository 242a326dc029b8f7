// The question asked before unsaved changes would go: Save, Discard or Cancel.
#include "viewer_core/gtk/UnsavedChangesDialog.hpp"

#include "viewer_core/gtk/MessageDialog.hpp"

namespace quessel::core {

AdwMessageDialog* UnsavedChangesDialog::ask(Gtk::Window* parent, const std::string& fileName,
                                            std::function<void(Choice)> answered) {
    MessageDialog::Content content{
        .heading = "Save changes to \u201c" + fileName + "\u201d?",
        .body = "The document has changes that are not saved. If you don\u2019t save them, they "
                "are lost.",
        .responses = {{cancelId, "_Cancel"},
                      {discardId, "_Discard", MessageDialog::Look::destructive},
                      {saveId, "_Save", MessageDialog::Look::suggested}},
        .defaultResponse = saveId,
        .closeResponse = cancelId,
    };
    return MessageDialog::present(parent, content,
                                  [answered = std::move(answered)](const std::string& id) {
                                      if (id == saveId)
                                          answered(Choice::save);
                                      else if (id == discardId)
                                          answered(Choice::discard);
                                      else
                                          answered(Choice::cancel);
                                  });
}

} // namespace quessel::core

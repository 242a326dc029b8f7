// The Save/Discard/Cancel and overwrite questions: each answer reaches the caller exactly once.
#include "tests/support/MainLoop.hpp"
#include "viewer_core/gtk/ChangedOnDiskDialog.hpp"
#include "viewer_core/gtk/UnsavedChangesDialog.hpp"

#include <adwaita.h>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace quessel::core {
namespace {

// What a click on a response button does: answer, then close.
void answer(AdwMessageDialog* dialog, const char* id) {
    adw_message_dialog_response(dialog, id);
    gtk_window_close(GTK_WINDOW(dialog));
    quessel::testing::runFor(std::chrono::milliseconds(5));
}

class UnsavedChangesDialogTest : public ::testing::Test {
protected:
    AdwMessageDialog* ask() {
        return UnsavedChangesDialog::ask(&parent, "config.yaml",
                                         [this](auto choice) { choices.push_back(choice); });
    }
    void SetUp() override { parent.present(); }
    Gtk::Window parent;
    std::vector<UnsavedChangesDialog::Choice> choices;
};

TEST_F(UnsavedChangesDialogTest, NamesTheFileAndOffersThreeAnswers) {
    AdwMessageDialog* dialog = ask();
    EXPECT_STREQ(adw_message_dialog_get_heading(dialog),
                 "Save changes to \u201cconfig.yaml\u201d?");
    EXPECT_TRUE(adw_message_dialog_has_response(dialog, "save"));
    EXPECT_TRUE(adw_message_dialog_has_response(dialog, "discard"));
    EXPECT_TRUE(adw_message_dialog_has_response(dialog, "cancel"));
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(dialog)), parent.gobj());
    EXPECT_TRUE(gtk_window_get_modal(GTK_WINDOW(dialog)));
    answer(dialog, "cancel");
}

TEST_F(UnsavedChangesDialogTest, EachResponseMapsToItsChoiceOnce) {
    answer(ask(), "save");
    answer(ask(), "discard");
    answer(ask(), "cancel");
    using Choice = UnsavedChangesDialog::Choice;
    EXPECT_EQ(choices, (std::vector{Choice::save, Choice::discard, Choice::cancel}));
}

TEST_F(UnsavedChangesDialogTest, ClosingTheDialogCancels) {
    AdwMessageDialog* dialog = ask();
    gtk_window_close(GTK_WINDOW(dialog)); // Escape or the window manager's close
    quessel::testing::runFor(std::chrono::milliseconds(5));
    EXPECT_EQ(choices, std::vector{UnsavedChangesDialog::Choice::cancel});
}

TEST(ChangedOnDiskDialogTest, OnlyOverwriteAnswersTrue) {
    std::vector<bool> answers;
    auto record = [&](bool overwrite) { answers.push_back(overwrite); };
    answer(ChangedOnDiskDialog::ask(nullptr, "a.yaml", record), "overwrite");
    answer(ChangedOnDiskDialog::ask(nullptr, "a.yaml", record), "cancel");
    AdwMessageDialog* dialog = ChangedOnDiskDialog::ask(nullptr, "a.yaml", record);
    EXPECT_STREQ(adw_message_dialog_get_default_response(dialog), "cancel");
    gtk_window_close(GTK_WINDOW(dialog));
    quessel::testing::runFor(std::chrono::milliseconds(5));
    EXPECT_EQ(answers, (std::vector{true, false, false}));
}

} // namespace
} // namespace quessel::core

// Unsaved changes are never lost silently: every route that would drop them asks first, a failed
// save keeps the document and says why, and a file changed on disk is not overwritten unasked.
#include "app/ContentView.hpp"
#include "app/MainWindow.hpp"
#include "tests/app/AppFixture.hpp"
#include "tests/support/MainLoop.hpp"

#include <adwaita.h>
#include <giomm/file.h>
#include <glibmm/main.h>

#include <filesystem>

namespace quessel::app {
namespace {

using quessel::testing::drainPending;
using quessel::testing::readFile;

class UnsavedChangesTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        document = openDocument("dirty.yaml", "saved: 1\n");
        model->setFileContent("edited: 2\n");
        other = writeDocument("other.yaml", "other: 3\n");
    }
    bool asking() { return shownQuestion() != nullptr; }
    std::string questionBody() { return adw_message_dialog_get_body(shownQuestion()); }

    core::FileUrl document = *core::FileUrl::fromPath("/");
    core::FileUrl other = *core::FileUrl::fromPath("/");
};

TEST_F(UnsavedChangesTest, CloseCommandAsksAndCancelKeepsTheEdits) {
    activate("close");
    ASSERT_TRUE(asking());
    answer("cancel");
    EXPECT_EQ(model->fileURL(), document);
    EXPECT_EQ(model->fileContent(), "edited: 2\n");
}

TEST_F(UnsavedChangesTest, CloseCommandWithDiscardClosesWithoutWriting) {
    activate("close");
    answer("discard");
    EXPECT_FALSE(model->fileURL());
    EXPECT_EQ(readFile(document.path()), "saved: 1\n");
}

TEST_F(UnsavedChangesTest, CloseCommandWithSaveWritesThenCloses) {
    activate("close");
    answer("save");
    EXPECT_FALSE(model->fileURL());
    EXPECT_EQ(readFile(document.path()), "edited: 2\n");
}

TEST_F(UnsavedChangesTest, WindowCloseAsksAndKeepsTheWindowEitherWay) {
    window().close();
    ASSERT_TRUE(asking());
    answer("cancel");
    EXPECT_EQ(model->fileContent(), "edited: 2\n");
    window().close();
    answer("discard");
    EXPECT_FALSE(model->fileURL());
    EXPECT_EQ(application->get_windows().size(), 1u);
    EXPECT_TRUE(window().get_visible());
}

TEST_F(UnsavedChangesTest, QuitAsksAndCancelKeepsRunning) {
    bool cancelled = false;
    Glib::signal_idle().connect_once([&] {
        activate("quit");
        ASSERT_TRUE(asking());
        answer("cancel");
        cancelled = model->fileContent() == "edited: 2\n";
        // Leave the way a user would after changing their mind: quit and discard.
        activate("quit");
        answer("discard");
    });
    application->run(0, nullptr); // returns when the application quits
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(readFile(document.path()), "saved: 1\n");
}

TEST_F(UnsavedChangesTest, QuitWithSaveWritesFirst) {
    Glib::signal_idle().connect_once([&] {
        activate("quit");
        answer("save");
    });
    application->run(0, nullptr);
    EXPECT_EQ(readFile(document.path()), "edited: 2\n");
}

TEST_F(UnsavedChangesTest, OpeningFromTheFileManagerAsks) {
    application->open({Gio::File::create_for_path(other.path())});
    drainPending();
    ASSERT_TRUE(asking());
    answer("cancel");
    EXPECT_EQ(model->fileURL(), document);
    application->open({Gio::File::create_for_path(other.path())});
    answer("discard");
    waitForOpen();
    EXPECT_EQ(model->fileURL(), other);
}

TEST_F(UnsavedChangesTest, OpeningARecentFileAsks) {
    activate("open-recent", Glib::Variant<Glib::ustring>::create(other.uri()));
    ASSERT_TRUE(asking());
    answer("save");
    waitForOpen();
    EXPECT_EQ(readFile(document.path()), "edited: 2\n");
    EXPECT_EQ(model->fileURL(), other);
}

TEST_F(UnsavedChangesTest, OpeningFromTheWindowAsks) {
    // The Open panel, a drop and the empty state's recent list all end in the window's open
    // request.
    window().content().requestOpen(other);
    ASSERT_TRUE(asking());
    answer("cancel");
    EXPECT_EQ(model->fileURL(), document);
    window().content().requestOpen(other);
    answer("discard");
    waitForOpen();
    EXPECT_EQ(model->fileURL(), other);
}

TEST_F(UnsavedChangesTest, ACleanDocumentClosesAndOpensWithoutAQuestion) {
    model->setFileContent("saved: 1\n");
    application->open({Gio::File::create_for_path(other.path())});
    drainPending();
    EXPECT_FALSE(asking());
    waitForOpen();
    EXPECT_EQ(model->fileURL(), other);
    activate("close");
    EXPECT_FALSE(asking());
    EXPECT_FALSE(model->fileURL());
}

TEST_F(UnsavedChangesTest, ASaveThatFailsKeepsTheDocumentAndSaysWhy) {
    std::filesystem::remove_all(std::filesystem::path(document.path()).parent_path());
    activate("close");
    answer("save");
    // The file is gone, which is a change on disk: overwriting is asked about first.
    ASSERT_TRUE(asking());
    answer("overwrite");
    ASSERT_TRUE(asking()) << "the failure is shown";
    EXPECT_NE(questionBody().find(document.path()), std::string::npos) << questionBody();
    answer("close");
    EXPECT_EQ(model->fileURL(), document);
    EXPECT_EQ(model->fileContent(), "edited: 2\n");
    EXPECT_TRUE(model->isDirty());
}

TEST_F(UnsavedChangesTest, SavingOverAFileChangedOnDiskAsksFirst) {
    std::filesystem::remove(document.path());
    folder.write("dirty.yaml", "written: elsewhere\n");
    activate("save");
    ASSERT_TRUE(asking());
    answer("cancel");
    EXPECT_EQ(readFile(document.path()), "written: elsewhere\n");
    EXPECT_TRUE(model->isDirty());

    activate("save");
    answer("overwrite");
    EXPECT_EQ(readFile(document.path()), "edited: 2\n");
    EXPECT_FALSE(model->isDirty());

    // Once saved, the file on disk is ours again: no question.
    model->setFileContent("again: 3\n");
    activate("save");
    EXPECT_FALSE(asking());
    EXPECT_EQ(readFile(document.path()), "again: 3\n");
}

TEST_F(UnsavedChangesTest, TheWindowsSaveButtonAsksAboutChangesOnDiskToo) {
    folder.write("dirty.yaml", "written: elsewhere, in place\n");
    window().content().requestSave();
    ASSERT_TRUE(asking());
    answer("cancel");
    EXPECT_EQ(readFile(document.path()), "written: elsewhere, in place\n");
}

} // namespace
} // namespace quessel::app

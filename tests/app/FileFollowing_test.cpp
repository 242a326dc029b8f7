// The open file followed on disk, in the running application: other programs write, replace,
// truncate, remove and re-create it, and the document follows without ever losing an edit.
#include "app/AppCommands.hpp"
#include "app/ContentView.hpp"
#include "app/FileFollower.hpp"
#include "app/MainWindow.hpp"
#include "tests/app/AppFixture.hpp"
#include "tests/support/Click.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/TempFiles.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace quessel::app {
namespace {

using namespace std::chrono_literals;
using quessel::testing::click;
using quessel::testing::drainPending;
using quessel::testing::readFile;
using quessel::testing::runFor;
using quessel::testing::runUntil;
using Notice = FileFollower::Notice;

class FileFollowingTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        follower().setReloadsWhenChanged(true);
        document = openDocument("followed.yaml", "version: 1\n");
        path = document.path();
        messages = window().content().signalMessageShown().connect(
            [this](const std::string& message) { shown.push_back(message); });
    }
    void TearDown() override {
        messages.disconnect();
        AppFixture::TearDown();
    }

    FileFollower& follower() { return application->fileFollower(); }
    ContentView& content() { return window().content(); }

    // Another program writes the file in place.
    void writeInPlace(const std::string& text) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    // Another program writes a new file beside it and renames it over the old one.
    void replaceByRename(const std::string& text) {
        const std::string fresh = path + ".tmp";
        std::ofstream(fresh, std::ios::binary) << text;
        std::filesystem::rename(fresh, path);
    }
    bool contentBecomes(const std::string& text) {
        return runUntil([&] { return model->fileContent() == text && !follower().reading(); }, 5s);
    }
    bool noticeBecomes(Notice notice) {
        return runUntil([&] { return follower().notice() == notice; }, 5s);
    }
    int reloadedMessages() const {
        int count = 0;
        for (const auto& message : shown) {
            count += message == "Reloaded \u201cfollowed.yaml\u201d" ? 1 : 0;
        }
        return count;
    }
    // Long enough for a change to have been noticed, waited out and read.
    static void waitOutAChange() { runFor(1500ms); }

    core::FileUrl document = *core::FileUrl::fromPath("/");
    std::string path;
    std::vector<std::string> shown;
    sigc::connection messages;
};

TEST_F(FileFollowingTest, EveryWayOfWritingTheFileReachesTheDocument) {
    writeInPlace("version: 2\n");
    ASSERT_TRUE(contentBecomes("version: 2\n"));
    EXPECT_FALSE(model->isDirty());
    EXPECT_EQ(reloadedMessages(), 1);

    replaceByRename("version: 3\n");
    ASSERT_TRUE(contentBecomes("version: 3\n"));

    // Truncated: the empty text is the file's text now.
    std::filesystem::resize_file(path, 0);
    ASSERT_TRUE(contentBecomes(""));

    // Invalid in between, and valid again.
    writeInPlace("a: [1, 2\n");
    ASSERT_TRUE(contentBecomes("a: [1, 2\n"));
    writeInPlace("a: [1, 2]\n");
    ASSERT_TRUE(contentBecomes("a: [1, 2]\n"));

    EXPECT_EQ(model->fileURL(), document);
    EXPECT_EQ(model->recentFiles(), std::vector<core::FileUrl>{document})
        << "a reload is not an open";
    EXPECT_FALSE(content().noticeBar().get_revealed());
}

TEST_F(FileFollowingTest, ABurstOfWritesGivesOneReloadOfTheLastVersion) {
    for (int i = 1; i <= 15; ++i) {
        writeInPlace("count: " + std::to_string(i) + "\n");
        runFor(10ms);
    }
    ASSERT_TRUE(contentBecomes("count: 15\n"));
    waitOutAChange();
    EXPECT_EQ(reloadedMessages(), 1);
}

TEST_F(FileFollowingTest, AFileThatGrowsForLongIsFollowedWhileItGrows) {
    std::string text;
    int reloadsWhileGrowing = 0;
    for (int i = 0; i < 25; ++i) {
        text += "- " + std::to_string(i) + "\n";
        writeInPlace(text);
        runFor(100ms);
        reloadsWhileGrowing = reloadedMessages();
    }
    EXPECT_GE(reloadsWhileGrowing, 1) << "two and a half seconds of writes without a reload";
    ASSERT_TRUE(contentBecomes(text));
}

TEST_F(FileFollowingTest, ADeletedFileKeepsItsTextAndComesBackWhenRecreated) {
    std::filesystem::remove(path);
    ASSERT_TRUE(noticeBecomes(Notice::gone));
    EXPECT_EQ(model->fileContent(), "version: 1\n");
    EXPECT_EQ(model->fileURL(), document);
    drainPending();
    EXPECT_TRUE(content().noticeBar().get_revealed());
    EXPECT_TRUE(content().noticeBar().saveButton().get_visible());
    EXPECT_NE(content().noticeBar().message().get_text().raw().find("deleted or moved away"),
              std::string::npos);

    writeInPlace("version: 2\n");
    ASSERT_TRUE(contentBecomes("version: 2\n"));
    EXPECT_EQ(follower().notice(), Notice::none);
    drainPending();
    EXPECT_FALSE(content().noticeBar().get_revealed());
}

TEST_F(FileFollowingTest, SavingAFileThatWentAwayCreatesItAgain) {
    std::filesystem::rename(path, path + ".moved");
    ASSERT_TRUE(noticeBecomes(Notice::gone));
    click(content().noticeBar().saveButton());
    // Nothing is there to overwrite, but the file is not the one read: the save asks first.
    if (shownQuestion() != nullptr) {
        answer("overwrite");
    }
    EXPECT_EQ(readFile(path), "version: 1\n");
    ASSERT_TRUE(noticeBecomes(Notice::none));
}

TEST_F(FileFollowingTest, EditsAreKeptWhenTheUserKeepsThem) {
    model->setFileContent("mine: 1\n");
    writeInPlace("theirs: 1\n");
    ASSERT_TRUE(noticeBecomes(Notice::changedWhileEdited));
    EXPECT_EQ(model->fileContent(), "mine: 1\n");
    drainPending();
    EXPECT_TRUE(content().noticeBar().get_revealed());
    EXPECT_TRUE(content().noticeBar().reloadButton().get_visible());

    click(content().noticeBar().keepMineButton());
    EXPECT_EQ(follower().notice(), Notice::none);
    waitOutAChange();
    EXPECT_EQ(follower().notice(), Notice::none) << "the same version is not asked about again";
    EXPECT_EQ(model->fileContent(), "mine: 1\n");

    // Saving over their version asks first.
    activate("save");
    ASSERT_NE(shownQuestion(), nullptr);
    answer("overwrite");
    EXPECT_EQ(readFile(path), "mine: 1\n");
    EXPECT_FALSE(model->isDirty());
    waitOutAChange();
    EXPECT_EQ(follower().notice(), Notice::none) << "our own save is no change";
    EXPECT_EQ(reloadedMessages(), 0);

    // A newer version of theirs is asked about again.
    model->setFileContent("mine: 2\n");
    writeInPlace("theirs: 2\n");
    ASSERT_TRUE(noticeBecomes(Notice::changedWhileEdited));
}

TEST_F(FileFollowingTest, ReloadingOverEditsAsksAndDiscardsOnlyWhenTold) {
    model->setFileContent("mine: 1\n");
    writeInPlace("theirs: 1\n");
    ASSERT_TRUE(noticeBecomes(Notice::changedWhileEdited));

    click(content().noticeBar().reloadButton());
    ASSERT_NE(shownQuestion(), nullptr) << "the unsaved-changes question comes first";
    answer("cancel");
    EXPECT_EQ(model->fileContent(), "mine: 1\n");

    click(content().noticeBar().reloadButton());
    answer("discard");
    ASSERT_TRUE(contentBecomes("theirs: 1\n"));
    EXPECT_FALSE(model->isDirty());
    EXPECT_EQ(follower().notice(), Notice::none);
}

TEST_F(FileFollowingTest, AVersionThatCannotBeReadIsToldOnce) {
    std::filesystem::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ASSERT_TRUE(runUntil([&] { return !shown.empty(); }, 5s));
    EXPECT_NE(shown.front().find("Could not reload file"), std::string::npos) << shown.front();
    EXPECT_EQ(model->fileContent(), "version: 1\n");
    // More events for the same version tell nothing new.
    ::chmod(path.c_str(), 0640);
    waitOutAChange();
    EXPECT_EQ(shown.size(), 1u);

    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    ASSERT_TRUE(runUntil([&] { return shown.size() == 2; }, 5s));
    waitOutAChange();
    EXPECT_EQ(shown.size(), 2u);

    std::filesystem::remove(path);
    writeInPlace("version: 2\n");
    ASSERT_TRUE(contentBecomes("version: 2\n"));
}

TEST_F(FileFollowingTest, WithTheSettingOffOnlyReloadAsksForTheFile) {
    activate("reload-when-changed");
    EXPECT_FALSE(follower().reloadsWhenChanged());
    EXPECT_FALSE(follower().watching());
    writeInPlace("version: 2\n");
    waitOutAChange();
    EXPECT_EQ(model->fileContent(), "version: 1\n");

    ASSERT_TRUE(isEnabled("reload"));
    activate("reload");
    ASSERT_TRUE(contentBecomes("version: 2\n"));

    // Turned on again, a version written meanwhile is taken at once.
    writeInPlace("version: 3\n");
    activate("reload-when-changed");
    EXPECT_TRUE(follower().reloadsWhenChanged());
    ASSERT_TRUE(contentBecomes("version: 3\n"));
}

TEST_F(FileFollowingTest, TheSettingIsKeptInQuesselsOwnStore) {
    activate("reload-when-changed");
    FileFollower other(*model, [](std::function<void()> then) { then(); });
    EXPECT_FALSE(other.reloadsWhenChanged());
    EXPECT_FALSE(other.watching());
    activate("reload-when-changed");
    FileFollower again(*model, [](std::function<void()> then) { then(); });
    EXPECT_TRUE(again.reloadsWhenChanged());
}

TEST_F(FileFollowingTest, ReloadNeedsAFileAndAsksBeforeEditsGo) {
    model->setFileContent("mine: 1\n");
    activate("reload");
    ASSERT_NE(shownQuestion(), nullptr);
    answer("discard");
    ASSERT_TRUE(contentBecomes("version: 1\n"));

    activate("close");
    EXPECT_FALSE(isEnabled("reload"));
    EXPECT_FALSE(follower().watching());
}

TEST_F(FileFollowingTest, AnotherFileIsFollowedInstead) {
    const auto other = openDocument("other.yaml", "other: 1\n");
    writeInPlace("version: 2\n");
    waitOutAChange();
    EXPECT_EQ(model->fileContent(), "other: 1\n");
    std::ofstream(other.path(), std::ios::binary | std::ios::trunc) << "other: 2\n";
    ASSERT_TRUE(contentBecomes("other: 2\n"));
}

} // namespace
} // namespace quessel::app

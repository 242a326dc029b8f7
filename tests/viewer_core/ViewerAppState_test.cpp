// The document model: open, edit, save and close, failures that lose nothing, observers warned
// first.
#include "TestEnvironment.hpp"
#include "viewer_core/ViewerAppState.hpp"

#include <gmock/gmock.h>

#include <sys/stat.h>
#include <thread>

namespace quessel::core {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

// The application's subclass: its own key and bound, nothing else.
class AppState : public ViewerAppState {
public:
    AppState() : ViewerAppState("recentFiles", 5) {}
};

class ViewerAppStateTest : public testing::CoreTest {
protected:
    FileUrl document(const std::string& name, const std::string& text) {
        testing::writeFile(path(name), text);
        return *FileUrl::fromPath(path(name));
    }
    static void expectNoDocument(const ViewerAppState& state) {
        EXPECT_EQ(state.fileURL(), std::nullopt);
        EXPECT_EQ(state.fileContent(), "");
        EXPECT_EQ(state.originalContent(), "");
        EXPECT_FALSE(state.isEditing());
        EXPECT_FALSE(state.showSearch());
        EXPECT_FALSE(state.isDirty());
        EXPECT_EQ(state.fileName(), "Untitled");
        EXPECT_FALSE(state.hasChangedOnDisk());
    }
    // Runs a save and returns what it printed on standard output.
    std::string savePrinting(ViewerAppState& model) {
        ::testing::internal::CaptureStdout();
        model.saveFile();
        return ::testing::internal::GetCapturedStdout();
    }
};

TEST_F(ViewerAppStateTest, StartsWithNoDocument) {
    const AppState state;
    expectNoDocument(state);
    EXPECT_EQ(state.errorMessage(), std::nullopt);
    EXPECT_TRUE(state.recentFiles().empty());
    EXPECT_EQ(state.recentFilesKey(), "recentFiles");
    EXPECT_EQ(state.maxRecentFiles(), 5);
}

TEST_F(ViewerAppStateTest, OpenFillsTheModelAndTurnsTheEditorOffButNotSearch) {
    AppState state;
    state.setIsEditing(true);
    state.setShowSearch(true);
    int openedHook = 0;
    state.setOpenedFileHook([&](const FileUrl& url) {
        EXPECT_EQ(url.lastPathComponent(), "doc.yaml");
        ++openedHook;
    });
    state.openFile(document("doc.yaml", "key: value\n"));
    EXPECT_EQ(state.fileURL()->path(), path("doc.yaml"));
    EXPECT_EQ(state.fileContent(), "key: value\n");
    EXPECT_EQ(state.originalContent(), "key: value\n");
    EXPECT_FALSE(state.isEditing());
    EXPECT_TRUE(state.showSearch());
    EXPECT_FALSE(state.isDirty());
    EXPECT_EQ(state.fileName(), "doc.yaml");
    EXPECT_EQ(openedHook, 1);
    EXPECT_EQ(state.recentFiles().size(), 1u);
}

TEST_F(ViewerAppStateTest, EmptyFileAndTextWithNulBytesOpen) {
    AppState state;
    state.openFile(document("empty.yaml", ""));
    EXPECT_EQ(state.fileURL()->lastPathComponent(), "empty.yaml");
    EXPECT_EQ(state.fileContent(), "");
    EXPECT_FALSE(state.isDirty());
    const std::string withNul("a: \"\0\"\n", 7);
    state.openFile(document("nul.yaml", withNul));
    EXPECT_EQ(state.fileContent(), withNul);
}

TEST_F(ViewerAppStateTest, FailedOpenKeepsTheDocumentItsEditsAndTheRecentList) {
    AppState state;
    state.openFile(document("good.yaml", "a: 1\n"));
    state.setFileContent("a: 2\n");
    int hookCalls = 0;
    state.setOpenedFileHook([&](const FileUrl&) { ++hookCalls; });

    state.openFile(document("bad.yaml", "a: \xFF\n"));
    EXPECT_EQ(state.errorMessage(),
              "Could not open file: The file \u201C" + path("bad.yaml") +
                  "\u201D is not valid UTF-8 text (invalid byte at offset 3).");
    EXPECT_EQ(state.fileURL()->lastPathComponent(), "good.yaml");
    EXPECT_EQ(state.fileContent(), "a: 2\n");
    EXPECT_TRUE(state.isDirty());
    EXPECT_EQ(state.recentFiles().size(), 1u);
    EXPECT_EQ(hookCalls, 0);

    state.openFile(*FileUrl::fromPath(path("missing.yaml")));
    EXPECT_EQ(state.errorMessage(), "Could not open file: Failed to open file \u201C" +
                                        path("missing.yaml") + "\u201D: No such file or directory");
    // Every failure counts, also one that repeats the previous message.
    state.openFile(*FileUrl::fromPath(path("missing.yaml")));
    EXPECT_EQ(state.failedOpenCount(), 3u);
}

TEST_F(ViewerAppStateTest, OpenInTwoHalvesReadsOnAnyThreadAndCompletesAsOpenDoes) {
    AppState state;
    int openedHook = 0;
    state.setOpenedFileHook([&](const FileUrl&) { ++openedHook; });
    const auto url = document("doc.yaml", "key: value\n");
    std::optional<ViewerAppState::ReadOutcome> outcome;
    std::thread([&] { outcome = ViewerAppState::readForOpen(url); }).join();
    ASSERT_TRUE(outcome);
    EXPECT_EQ(state.fileURL(), std::nullopt) << "reading touched the model";
    const auto before = state.contentGeneration();
    state.completeOpen(url, std::move(*outcome));
    EXPECT_NE(state.contentGeneration(), before);
    EXPECT_EQ(state.fileURL(), url);
    EXPECT_EQ(state.fileContent(), "key: value\n");
    EXPECT_FALSE(state.isDirty());
    EXPECT_FALSE(state.hasChangedOnDisk());
    EXPECT_EQ(openedHook, 1);
    EXPECT_EQ(state.recentFiles(), std::vector{url});

    const auto missing = *FileUrl::fromPath(path("missing.yaml"));
    auto failed = ViewerAppState::readForOpen(missing);
    ASSERT_TRUE(std::holds_alternative<std::string>(failed));
    const auto edited = state.contentGeneration();
    state.completeOpen(missing, std::move(failed));
    EXPECT_EQ(state.errorMessage(), "Could not open file: Failed to open file \u201C" +
                                        path("missing.yaml") + "\u201D: No such file or directory");
    EXPECT_EQ(state.failedOpenCount(), 1u);
    EXPECT_EQ(state.fileURL(), url);
    EXPECT_EQ(state.contentGeneration(), edited) << "a failed open changed the text";
    state.setFileContent("key: other\n");
    EXPECT_NE(state.contentGeneration(), edited);
}

TEST_F(ViewerAppStateTest, SuccessfulOpenDoesNotClearAnEarlierError) {
    AppState state;
    state.openFile(*FileUrl::fromPath(path("missing.yaml")));
    const auto error = state.errorMessage();
    ASSERT_TRUE(error);
    state.openFile(document("doc.yaml", "a: 1\n"));
    EXPECT_EQ(state.errorMessage(), error);
}

TEST_F(ViewerAppStateTest, DirtinessFollowsCanonicalEquivalence) {
    AppState state;
    state.openFile(document("doc.yaml", "name: caf\u00E9\n"));
    state.setFileContent("name: cafe\u0301\n");
    EXPECT_FALSE(state.isDirty());
    state.setFileContent("name: cafe\n");
    EXPECT_TRUE(state.isDirty());
    // Typing a character and deleting it again.
    state.setFileContent("name: caf\u00E9\nx");
    EXPECT_TRUE(state.isDirty());
    state.setFileContent("name: caf\u00E9\n");
    EXPECT_FALSE(state.isDirty());
}

TEST_F(ViewerAppStateTest, DirtinessOfLargeTextsIsAnsweredAgainAfterEveryAssignment) {
    AppState state;
    const std::string large(4 * 1024 * 1024, 'y');
    state.openFile(document("large.yaml", large));
    for (int read = 0; read < 1000; ++read) {
        ASSERT_FALSE(state.isDirty());
    }
    state.setFileContent(large + "z");
    EXPECT_TRUE(state.isDirty());
    EXPECT_TRUE(state.isDirty());
    state.setFileContent(large);
    EXPECT_FALSE(state.isDirty());
}

TEST_F(ViewerAppStateTest, SaveWritesTheTextAndMakesTheDocumentClean) {
    AppState state;
    state.openFile(document("doc.yaml", "a: 1\n"));
    state.setIsEditing(true);
    state.setFileContent("a: 2\n");
    EXPECT_EQ(savePrinting(state), "");
    EXPECT_EQ(testing::readFile(path("doc.yaml")), "a: 2\n");
    EXPECT_EQ(state.originalContent(), "a: 2\n");
    EXPECT_FALSE(state.isDirty());
    EXPECT_TRUE(state.isEditing());
}

TEST_F(ViewerAppStateTest, SaveWithNoDocumentDoesNothing) {
    AppState state;
    int notifications = 0;
    state.signalWillChange().connect([&] { ++notifications; });
    EXPECT_EQ(savePrinting(state), "");
    EXPECT_EQ(notifications, 0);
}

// The document's folder is replaced by a regular file: no privilege lets a save through.
TEST_F(ViewerAppStateTest, FailedSavePrintsOneLineAndStaysDirty) {
    ASSERT_EQ(::mkdir(path("folder").c_str(), 0755), 0);
    AppState state;
    state.openFile(document("folder/doc.yaml", "a: 1\n"));
    state.setFileContent("a: 2\n");
    ASSERT_EQ(::rename(path("folder").c_str(), path("moved").c_str()), 0);
    testing::writeFile(path("folder"), "in the way");

    const std::string printed = savePrinting(state);
    EXPECT_THAT(printed, StartsWith("Error saving file: "));
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1);
    EXPECT_EQ(printed.back(), '\n');
    EXPECT_EQ(printed, "Error saving file: Failed to get attributes of file \u201C" +
                           path("folder/doc.yaml") + "\u201D: Not a directory (ENOTDIR)\n");
    EXPECT_TRUE(state.isDirty());
    EXPECT_EQ(state.originalContent(), "a: 1\n");
    EXPECT_EQ(state.errorMessage(), std::nullopt);
    EXPECT_EQ(testing::readFile(path("moved/doc.yaml")), "a: 1\n");
    EXPECT_THAT(testing::folderEntries(path("moved")), ElementsAre("doc.yaml"));
    // The reason stays readable for the window until the next save succeeds.
    EXPECT_EQ(state.lastSaveError(), printed.substr(19, printed.size() - 20));

    ASSERT_EQ(::unlink(path("folder").c_str()), 0);
    ASSERT_EQ(::rename(path("moved").c_str(), path("folder").c_str()), 0);
    EXPECT_EQ(savePrinting(state), "");
    EXPECT_EQ(state.lastSaveError(), std::nullopt);
}

TEST_F(ViewerAppStateTest, SaveFailingHalfWayLeavesTheOriginalAndNoTemporaryFile) {
    AppState state;
    state.openFile(document("doc.yaml", "a: 1\n"));
    state.setFileContent(std::string(64 * 1024, 'x'));
    std::string printed;
    {
        const testing::FileSizeLimit limit(4096);
        printed = savePrinting(state);
    }

    EXPECT_THAT(printed, StartsWith("Error saving file: Failed to write file"));
    EXPECT_TRUE(state.isDirty());
    EXPECT_EQ(testing::readFile(path("doc.yaml")), "a: 1\n");
    EXPECT_THAT(testing::folderEntries(root()), ElementsAre("config", "doc.yaml"));
}

TEST_F(ViewerAppStateTest, SaveKeepsPermissionsAndWritesThroughALink) {
    ASSERT_EQ(::mkdir(path("real").c_str(), 0755), 0);
    document("real/doc.yaml", "a: 1\n");
    ASSERT_EQ(::chmod(path("real/doc.yaml").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("real/doc.yaml", path("link.yaml").c_str()), 0);
    AppState state;
    state.openFile(*FileUrl::fromPath(path("link.yaml")));
    state.setFileContent("a: 2\n");
    EXPECT_EQ(savePrinting(state), "");
    struct stat status {};
    ASSERT_EQ(::lstat(path("link.yaml").c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_EQ(testing::readFile(path("real/doc.yaml")), "a: 2\n");
    EXPECT_EQ(testing::permissionBits(path("real/doc.yaml")), 0600u);
    EXPECT_FALSE(state.hasChangedOnDisk());
}

TEST_F(ViewerAppStateTest, NoticesChangesOnDiskSinceTheLastOpenOrSave) {
    AppState state;
    state.openFile(document("doc.yaml", "a: 1\n"));
    EXPECT_FALSE(state.hasChangedOnDisk());
    testing::writeFile(path("other.yaml"), "a: 1\n");
    ASSERT_EQ(::rename(path("other.yaml").c_str(), path("doc.yaml").c_str()), 0);
    EXPECT_TRUE(state.hasChangedOnDisk());
    state.saveFile();
    EXPECT_FALSE(state.hasChangedOnDisk());
    testing::writeFile(path("doc.yaml"), "a: 1\nb: 2\n");
    EXPECT_TRUE(state.hasChangedOnDisk());
    state.openFile(*state.fileURL());
    EXPECT_FALSE(state.hasChangedOnDisk());
    ASSERT_EQ(::unlink(path("doc.yaml").c_str()), 0);
    EXPECT_TRUE(state.hasChangedOnDisk());
}

TEST_F(ViewerAppStateTest, CloseDiscardsEditsAndKeepsErrorAndRecentFiles) {
    AppState state;
    state.openFile(*FileUrl::fromPath(path("missing.yaml")));
    state.openFile(document("doc.yaml", "a: 1\n"));
    state.setFileContent("edited");
    state.setIsEditing(true);
    state.setShowSearch(true);
    state.closeFile();
    expectNoDocument(state);
    EXPECT_TRUE(state.errorMessage());
    EXPECT_EQ(state.recentFiles().size(), 1u);
    EXPECT_EQ(testing::readFile(path("doc.yaml")), "a: 1\n");
}

// Observers are warned before the value changes, once per assignment, equal values included.
TEST_F(ViewerAppStateTest, ObserversHearOfEveryAssignmentBeforeIt) {
    AppState state;
    std::vector<bool> editingSeen;
    state.signalWillChange().connect([&] { editingSeen.push_back(state.isEditing()); });
    state.setIsEditing(true);
    state.setIsEditing(true);
    state.setIsEditing(false);
    EXPECT_THAT(editingSeen, ElementsAre(false, true, true));

    int notifications = 0;
    state.signalWillChange().connect([&] { ++notifications; });
    state.closeFile();
    EXPECT_EQ(notifications, 5);
}

TEST_F(ViewerAppStateTest, NegativeBoundKeepsNoRecentFiles) {
    ViewerAppState state("recentFiles", -3);
    EXPECT_EQ(state.maxRecentFiles(), 0);
    state.openFile(document("doc.yaml", "a: 1\n"));
    EXPECT_TRUE(state.recentFiles().empty());
}

TEST_F(ViewerAppStateTest, FileNameOfAnUndecodableNameIsStillText) {
    AppState state;
    state.openFile(document("caf\xE9.yaml", "a: 1\n"));
    EXPECT_EQ(state.fileURL()->lastPathComponent(), "caf\xE9.yaml");
    EXPECT_TRUE(g_utf8_validate(state.fileName().c_str(), -1, nullptr));
    EXPECT_THAT(state.fileName(), StartsWith("caf"));
}

} // namespace
} // namespace quessel::core

// Files read on a worker and opened by the model on the main thread, newest only, edits asked for.
#include "app/BackgroundFileOpener.hpp"
#include "tests/app/Gate.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/TempFiles.hpp"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

namespace quessel::app {
namespace {

using quessel::testing::Gate;
using quessel::testing::GateOpener;
using quessel::testing::runUntil;

class BackgroundFileOpenerTest : public ::testing::Test {
protected:
    core::FileUrl write(const std::string& name, const std::string& text) {
        return *core::FileUrl::fromPath(folder.write(name, text).string());
    }
    // The model's own reading, but a file whose name holds "slow" waits at the gate first.
    BackgroundFileOpener::Read gatedRead() {
        return [gate = gate](const core::FileUrl& url) {
            if (url.lastPathComponent().find("slow") != std::string::npos) {
                gate->pass();
            }
            return core::ViewerAppState::readForOpen(url);
        };
    }
    BackgroundFileOpener::Settle recordingSettle() {
        return [this](std::function<void()> then) { asked.push_back(std::move(then)); };
    }
    bool opened(BackgroundFileOpener& opener) {
        return runUntil([&] { return !opener.opening().has_value(); });
    }
    static bool workersDone() {
        const bool done = runUntil([] { return runningWorkers() == 0; });
        quessel::testing::drainPending();
        return done;
    }

    quessel::testing::TempFolder folder;
    core::ViewerAppState model{"recentFiles", 5};
    std::shared_ptr<Gate> gate = Gate::create();
    GateOpener gateOpener{gate};
    std::vector<std::function<void()>> asked;
};

TEST_F(BackgroundFileOpenerTest, ReadsOnAWorkerAndTheModelOpensOnTheMainThread) {
    std::mutex mutex;
    std::vector<std::thread::id> readers;
    BackgroundFileOpener files(model, recordingSettle(), [&](const core::FileUrl& url) {
        const std::lock_guard lock(mutex);
        readers.push_back(std::this_thread::get_id());
        return core::ViewerAppState::readForOpen(url);
    });
    int changes = 0;
    files.signalOpeningChanged().connect([&] { ++changes; });
    const auto url = write("a.yaml", "a: 1\n");
    files.open(url);
    EXPECT_EQ(files.opening(), url);
    EXPECT_FALSE(model.fileURL()) << "opened within the request";
    ASSERT_TRUE(opened(files));
    EXPECT_EQ(model.fileURL(), url);
    EXPECT_EQ(model.fileContent(), "a: 1\n");
    EXPECT_EQ(model.recentFiles(), std::vector{url});
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(asked.empty());
    const std::lock_guard lock(mutex);
    ASSERT_EQ(readers.size(), 1u);
    EXPECT_NE(readers.front(), std::this_thread::get_id());
}

TEST_F(BackgroundFileOpenerTest, ANewerOpenWinsOverAReadUnderWay) {
    BackgroundFileOpener files(model, recordingSettle(), gatedRead());
    const auto first = write("slow.yaml", "first: 1\n");
    const auto second = write("second.yaml", "second: 2\n");
    files.open(first);
    ASSERT_TRUE(runUntil([&] { return gate->arrivals() == 1; }));
    files.open(second);
    ASSERT_TRUE(opened(files));
    EXPECT_EQ(model.fileURL(), second);
    gate->open();
    ASSERT_TRUE(workersDone());
    EXPECT_EQ(model.fileURL(), second);
    EXPECT_EQ(model.recentFiles(), std::vector{second}) << "the overtaken file was opened too";
}

TEST_F(BackgroundFileOpenerTest, EditsMadeWhileReadingAreAskedForAndAnOpenAfterMovingOnIsDropped) {
    BackgroundFileOpener files(model, recordingSettle(), gatedRead());
    const auto shown = write("shown.yaml", "shown: 1\n");
    model.openFile(shown);
    files.open(write("slow.yaml", "next: 1\n"));
    ASSERT_TRUE(runUntil([&] { return gate->arrivals() == 1; }));
    model.setFileContent("shown: edited\n");
    gate->open();
    ASSERT_TRUE(opened(files));
    ASSERT_EQ(asked.size(), 1u) << "the edit was dropped without asking";
    EXPECT_EQ(model.fileContent(), "shown: edited\n");
    asked.front()(); // the user lets the edits go
    EXPECT_EQ(model.fileURL()->lastPathComponent(), "slow.yaml");

    auto closing = Gate::create();
    const GateOpener closingOpener(closing);
    BackgroundFileOpener later(model, recordingSettle(), [closing](const core::FileUrl& url) {
        closing->pass();
        return core::ViewerAppState::readForOpen(url);
    });
    later.open(shown);
    ASSERT_TRUE(runUntil([&] { return closing->arrivals() == 1; }));
    model.closeFile();
    closing->open();
    ASSERT_TRUE(opened(later));
    EXPECT_FALSE(model.fileURL()) << "a file closed meanwhile was replaced by the slow read";
    EXPECT_EQ(asked.size(), 1u);
}

TEST_F(BackgroundFileOpenerTest, AFileThatCannotBeReadFailsAsOpenDoesAndCancelDropsARead) {
    BackgroundFileOpener files(model, recordingSettle(), gatedRead());
    files.open(*core::FileUrl::fromPath((folder.path() / "missing.yaml").string()));
    ASSERT_TRUE(opened(files));
    EXPECT_EQ(model.failedOpenCount(), 1u);
    ASSERT_TRUE(model.errorMessage());
    EXPECT_EQ(model.errorMessage()->rfind("Could not open file: ", 0), 0u);
    EXPECT_FALSE(model.fileURL());

    files.open(write("slow.yaml", "a: 1\n"));
    ASSERT_TRUE(runUntil([&] { return gate->arrivals() == 1; }));
    files.cancel();
    EXPECT_FALSE(files.opening());
    gate->open();
    ASSERT_TRUE(workersDone());
    EXPECT_FALSE(model.fileURL());
}

} // namespace
} // namespace quessel::app

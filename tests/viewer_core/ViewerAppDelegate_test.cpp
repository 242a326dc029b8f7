// The application delegate: the pending file, first file only, bringing a window forward,
// reopening, and a model that is gone.
#include "tests/support/MainLoop.hpp"
#include "tests/support/TempFiles.hpp"
#include "viewer_core/gtk/ViewerAppDelegate.hpp"

#include <gtest/gtest.h>
#include <gtkmm/window.h>

#include <unistd.h>

namespace quessel::core {
namespace {

const auto& configFolder = quessel::testing::isolateConfigFolder();

class ViewerAppDelegateTest : public ::testing::Test {
protected:
    void SetUp() override {
        application =
            Gtk::Application::create("org.quessel.tests.delegate" + std::to_string(getpid()),
                                     Gio::Application::Flags::NON_UNIQUE);
        application->register_application();
        delegate = std::make_unique<ViewerAppDelegate>(*application);
        model = std::make_shared<ViewerAppState>("recentFiles", 5);
        model->clearRecentFiles();
        first = *FileUrl::fromPath(folder.write("first.yaml", "a: 1\n").string());
        second = *FileUrl::fromPath(folder.write("second.yaml", "b: 2\n").string());
    }
    void TearDown() override {
        for (Gtk::Window* window : application->get_windows())
            application->remove_window(*window);
        quessel::testing::drainPending();
    }

    quessel::testing::TempFolder folder;
    Glib::RefPtr<Gtk::Application> application;
    std::unique_ptr<ViewerAppDelegate> delegate;
    std::shared_ptr<ViewerAppState> model;
    FileUrl first = *FileUrl::fromPath("/");
    FileUrl second = *FileUrl::fromPath("/");
};

TEST_F(ViewerAppDelegateTest, AFileHandedOverBeforeTheModelWaitsAndOpensWhenItArrives) {
    delegate->openFiles({first});
    EXPECT_EQ(delegate->pendingURL(), first);
    EXPECT_FALSE(model->fileURL());

    delegate->setAppState(model);
    EXPECT_EQ(model->fileURL(), first);
    EXPECT_EQ(model->fileContent(), "a: 1\n");
    EXPECT_FALSE(delegate->pendingURL());
}

TEST_F(ViewerAppDelegateTest, ALaterPendingFileReplacesTheEarlierOne) {
    delegate->openFiles({first});
    delegate->openFiles({second});
    delegate->setAppState(model);
    EXPECT_EQ(model->fileURL(), second);
    EXPECT_EQ(model->recentFiles(), std::vector{second});
}

TEST_F(ViewerAppDelegateTest, OnlyTheFirstFileOfARequestOpens) {
    delegate->setAppState(model);
    delegate->openFiles({first, second});
    EXPECT_EQ(model->fileURL(), first);
    EXPECT_EQ(model->recentFiles(), std::vector{first});
}

TEST_F(ViewerAppDelegateTest, AnEmptyRequestOpensNothing) {
    delegate->setAppState(model);
    delegate->openFiles({});
    EXPECT_FALSE(model->fileURL());
    EXPECT_FALSE(delegate->pendingURL());
}

TEST_F(ViewerAppDelegateTest, AModelThatIsGoneIsNeverUsed) {
    delegate->setAppState(model);
    model.reset();
    EXPECT_EQ(delegate->appState(), nullptr);
    delegate->openFiles({first});
    EXPECT_EQ(delegate->pendingURL(), first);

    auto next = std::make_shared<ViewerAppState>("recentFiles", 5);
    delegate->setAppState(next);
    EXPECT_EQ(next->fileURL(), first);
}

TEST_F(ViewerAppDelegateTest, FilesGoThroughTheReplacedOpenRoute) {
    std::vector<FileUrl> routed;
    delegate->setOpenRoute([&](ViewerAppState&, const FileUrl& url) { routed.push_back(url); });
    delegate->openFiles({second});
    delegate->setAppState(model);
    delegate->openFiles({first, second});
    EXPECT_EQ(routed, (std::vector{second, first}));
    EXPECT_FALSE(model->fileURL());
}

TEST_F(ViewerAppDelegateTest, EnsureWindowVisibleNeverCreatesAWindow) {
    delegate->ensureWindowVisible();
    EXPECT_TRUE(application->get_windows().empty());
    EXPECT_TRUE(delegate->handleReopen());
    EXPECT_TRUE(application->get_windows().empty());
}

TEST_F(ViewerAppDelegateTest, ReopeningWithNoVisibleWindowBringsTheFirstForward) {
    Gtk::Window window;
    application->add_window(window);
    EXPECT_FALSE(window.get_visible());
    EXPECT_TRUE(delegate->handleReopen());
    EXPECT_TRUE(window.get_visible());
}

TEST_F(ViewerAppDelegateTest, AFileFromTheDesktopBringsTheWindowForward) {
    Gtk::Window window;
    application->add_window(window);
    delegate->setAppState(model);
    delegate->openFiles({first});
    EXPECT_TRUE(window.get_visible());
    EXPECT_EQ(model->fileURL(), first);
}

} // namespace
} // namespace quessel::core

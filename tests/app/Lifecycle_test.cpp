// The application's life: files from the desktop, the first file only, the file that arrives
// before any window, activation, closing twice, and the title.
#include "app/MainWindow.hpp"
#include "tests/app/AppFixture.hpp"
#include "tests/support/MainLoop.hpp"
#include "viewer_core/gtk/WindowConfiguration.hpp"

#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <giomm/file.h>
#include <gtkmm/recentmanager.h>

namespace quessel::app {
namespace {

using quessel::testing::drainPending;
using quessel::testing::runUntil;

Gio::Application::type_vec_files files(std::initializer_list<core::FileUrl> urls) {
    Gio::Application::type_vec_files result;
    for (const auto& url : urls)
        result.push_back(Gio::File::create_for_uri(url.uri()));
    return result;
}

using LifecycleTest = AppFixture;

TEST_F(LifecycleTest, AFileFromTheDesktopBeforeAnyWindowOpensWhenTheWindowShows) {
    const auto url = writeDocument("early.yaml", "early: true\n");
    ASSERT_TRUE(application->get_windows().empty());
    application->open(files({url}));
    drainPending();
    waitForOpen();
    ASSERT_EQ(application->get_windows().size(), 1u);
    EXPECT_TRUE(application->get_windows().front()->get_visible());
    EXPECT_EQ(model->fileURL(), url);
    EXPECT_FALSE(application->appDelegate().pendingURL());
}

TEST_F(LifecycleTest, OnlyTheFirstOfSeveralFilesOpens) {
    const auto first = writeDocument("first.yaml", "n: 1\n");
    const auto second = writeDocument("second.yaml", "n: 2\n");
    window();
    application->open(files({first, second}));
    waitForOpen();
    EXPECT_EQ(model->fileURL(), first);
    EXPECT_EQ(model->recentFiles(), std::vector{first});
    EXPECT_EQ(application->get_windows().size(), 1u) << "no second window for the second file";
}

TEST_F(LifecycleTest, ActivatingTheRunningApplicationBringsItsWindowForward) {
    MainWindow& shown = window();
    EXPECT_EQ(application->get_windows().size(), 1u);
    application->activate();
    drainPending();
    EXPECT_EQ(application->get_windows().size(), 1u);
    EXPECT_TRUE(shown.get_visible());
}

TEST_F(LifecycleTest, TheFirstCloseClosesTheDocumentTheSecondTheWindow) {
    openDocument("twice.yaml", "t: 1\n");
    Gtk::Window* shown = application->get_windows().front();
    shown->close();
    drainPending();
    EXPECT_FALSE(model->fileURL());
    ASSERT_EQ(application->get_windows().size(), 1u);
    EXPECT_TRUE(shown->get_visible());

    shown->close();
    EXPECT_TRUE(runUntil([&] { return application->get_windows().empty(); }));
}

TEST_F(LifecycleTest, TheWindowTakesTwoThirdsOfTheWidthAndTheFullHeightBeforeItShows) {
    application->activate();
    ASSERT_TRUE(runUntil([&] {
        return !application->get_windows().empty() &&
               application->get_windows().front()->get_mapped();
    }));
    Gtk::Window& shown = *application->get_windows().front();
    auto monitors = shown.get_display()->get_monitors();
    auto monitor = std::dynamic_pointer_cast<Gdk::Monitor>(monitors->get_object(0));
    Gdk::Rectangle area;
    monitor->get_geometry(area); // Xvfb has no panels: the work area is the whole screen
    const auto [width, height] =
        core::WindowConfiguration::sizeFor(area.get_width(), area.get_height(), 0.65);
    // The size asked for before the window mapped (what it shows also holds the frame's borders).
    int defaultWidth = 0;
    int defaultHeight = 0;
    shown.get_default_size(defaultWidth, defaultHeight);
    EXPECT_EQ(defaultWidth, width);
    EXPECT_EQ(defaultHeight, height);
    // A size set after mapping would be ignored: the window really has it.
    runUntil([&] { return shown.get_width() > 0; }, std::chrono::seconds(2));
    EXPECT_GT(shown.get_width(), width * 9 / 10);
}

TEST_F(LifecycleTest, TheTitleStaysQuesselWhateverIsOpen) {
    openDocument("titled.yaml", "x: 1\n");
    MainWindow& shown = window();
    runUntil([&] { return shown.get_title() == "Quessel"; }, std::chrono::seconds(2));
    EXPECT_EQ(shown.get_title(), "Quessel");
}

TEST_F(LifecycleTest, OpenedFilesReachTheDesktopsRecentList) {
    const auto url = openDocument("remembered.yaml", "r: 1\n");
    EXPECT_TRUE(Gtk::RecentManager::get_default()->has_item(url.uri()));
}

} // namespace
} // namespace quessel::app

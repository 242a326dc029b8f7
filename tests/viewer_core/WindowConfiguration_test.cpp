// Window sizing from the monitor's work area, and the title reset, both one main-loop turn later.
#include "tests/support/MainLoop.hpp"
#include "viewer_core/gtk/WindowConfiguration.hpp"

#include <gtest/gtest.h>

namespace quessel::core {
namespace {

TEST(WindowConfiguration, TakesTheShareOfTheWidthAndTheFullHeight) {
    EXPECT_EQ(WindowConfiguration::sizeFor(1440, 850, 0.65), (std::pair{936, 850}));
    EXPECT_EQ(WindowConfiguration::sizeFor(1920, 1080, 0.65), (std::pair{1248, 1080}));
}

TEST(WindowConfiguration, SizesTheWindowFromItsMonitorOnTheNextTurn) {
    Gtk::Window window;
    WindowConfiguration::configure(window, 0.65);
    int width = 0;
    int height = 0;
    window.get_default_size(width, height);
    EXPECT_NE(width, 1248) << "applied at once instead of deferred";
    quessel::testing::drainPending();
    window.get_default_size(width, height);
    // The test display is a 1920 × 1080 screen without panels.
    EXPECT_EQ(width, 1248);
    EXPECT_EQ(height, 1080);
}

TEST(WindowConfiguration, ResetsTheTitleToTheApplicationName) {
    Gtk::Window window;
    window.set_title("config.yaml");
    WindowConfiguration::updateTitle(window, std::nullopt);
    quessel::testing::drainPending();
    EXPECT_EQ(window.get_title(), "Quessel");
    WindowConfiguration::updateTitle(window, "Given");
    quessel::testing::drainPending();
    EXPECT_EQ(window.get_title(), "Given");
}

TEST(WindowConfiguration, DoesNothingWhenTheWindowIsGoneByThen) {
    auto window = std::make_unique<Gtk::Window>();
    WindowConfiguration::configure(*window, 0.65);
    WindowConfiguration::updateTitle(*window, "Stale");
    window.reset();
    // A window made now is likely to take the memory of the one destroyed: work still aimed at
    // that one would reach it.
    Gtk::Window next;
    next.set_title("Next");
    next.set_default_size(100, 100);
    quessel::testing::drainPending();
    int width = 0;
    int height = 0;
    next.get_default_size(width, height);
    EXPECT_EQ(next.get_title(), "Next");
    EXPECT_EQ(std::pair(width, height), std::pair(100, 100));
}

} // namespace
} // namespace quessel::core

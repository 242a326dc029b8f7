// `quessel FILE` while Quessel runs: the second process hands FILE to the first and exits.
#include "app/QuesselApp.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/TempFiles.hpp"

#include <adwaita.h>
#include <gio/gio.h>
#include <glibmm/main.h>
#include <glibmm/spawn.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace quessel::app {
namespace {

const auto& configFolder = quessel::testing::isolateConfigFolder();

class SecondInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        application = QuesselApp::create();
        ASSERT_TRUE(application->register_application());
        ASSERT_FALSE(application->is_remote());
        application->activate();
        quessel::testing::drainPending();
        model = application->appState().get();
    }
    void TearDown() override {
        for (Gtk::Window* window : application->get_windows())
            window->set_visible(false); // as closing does: the application lets it go
        quessel::testing::runFor(std::chrono::milliseconds(20));
        application.reset();
    }

    // Runs the real quessel with `arguments` and waits for it to exit, answering its D-Bus calls
    // meanwhile; answers its exit status.
    int runSecondInstance(const std::vector<std::string>& arguments) {
        std::vector<std::string> argv{QUESSEL_EXECUTABLE};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        Glib::Pid pid{};
        Glib::spawn_async("", argv, Glib::SpawnFlags::DO_NOT_REAP_CHILD, {}, &pid);
        std::optional<int> status;
        Glib::signal_child_watch().connect([&](Glib::Pid, int code) { status = code; }, pid);
        EXPECT_TRUE(quessel::testing::runUntil([&] { return status.has_value(); }));
        Glib::spawn_close_pid(pid);
        return status.value_or(-1);
    }

    Glib::RefPtr<QuesselApp> application;
    AppState* model = nullptr;
    quessel::testing::TempFolder folder;
};

TEST_F(SecondInstanceTest, TheFileOpensInTheFirstInstance) {
    const auto path = folder.write("forwarded.yaml", "from: second\n");
    EXPECT_EQ(runSecondInstance({path.string()}), 0);
    EXPECT_TRUE(quessel::testing::runUntil([&] { return model->fileURL().has_value(); }));
    EXPECT_EQ(model->fileURL()->path(), path.string());
    EXPECT_EQ(model->fileContent(), "from: second\n");
    EXPECT_EQ(application->get_windows().size(), 1u);
}

TEST_F(SecondInstanceTest, ARelativePathIsTakenFromTheSecondProcesssFolder) {
    const auto path = folder.write("sub/relative.yaml", "relative: true\n");
    std::vector<std::string> argv{QUESSEL_EXECUTABLE, "relative.yaml"};
    Glib::Pid pid{};
    Glib::spawn_async(path.parent_path().string(), argv, Glib::SpawnFlags::DO_NOT_REAP_CHILD, {},
                      &pid);
    bool exited = false;
    Glib::signal_child_watch().connect([&](Glib::Pid, int) { exited = true; }, pid);
    EXPECT_TRUE(quessel::testing::runUntil([&] { return exited && model->fileURL(); }));
    Glib::spawn_close_pid(pid);
    ASSERT_TRUE(model->fileURL());
    EXPECT_EQ(model->fileURL()->path(), path.string());
}

TEST_F(SecondInstanceTest, OnlyTheFirstOfTwoFilesOpens) {
    const auto first = folder.write("one.yaml", "n: 1\n");
    const auto second = folder.write("two.yaml", "n: 2\n");
    EXPECT_EQ(runSecondInstance({first.string(), second.string()}), 0);
    EXPECT_TRUE(quessel::testing::runUntil([&] { return model->fileURL().has_value(); }));
    quessel::testing::runFor(std::chrono::milliseconds(100));
    EXPECT_EQ(model->fileURL()->path(), first.string());
    EXPECT_EQ(model->recentFiles().size(), 1u);
}

TEST_F(SecondInstanceTest, WithoutAFileTheFirstInstanceComesForward) {
    EXPECT_EQ(runSecondInstance({}), 0);
    EXPECT_EQ(application->get_windows().size(), 1u);
    EXPECT_TRUE(application->get_windows().front()->get_visible());
    EXPECT_FALSE(model->fileURL());
}

} // namespace
} // namespace quessel::app

// The program's own entry: a session bus of its own comes up before GTK and libadwaita connect to
// one. The real executable registers the real application id, which must meet this process and
// no Quessel running on the desktop or in another test program.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    // GTestDBus unsets DISPLAY so that nothing autolaunches a bus on X; GTK needs it back.
    const std::string display = g_getenv("DISPLAY") != nullptr ? g_getenv("DISPLAY") : "";
    GTestDBus* bus = g_test_dbus_new(G_TEST_DBUS_NONE);
    g_test_dbus_up(bus);
    g_setenv("DISPLAY", display.c_str(), true);
    gtk_init();
    adw_init();
    const int result = RUN_ALL_TESTS();
    // Only the daemon goes: releasing the GTestDBus would wait for GTK's bus connection, which
    // lives until the process ends.
    g_test_dbus_stop(bus);
    return result;
}

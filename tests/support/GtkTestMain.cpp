// The entry of the widget test programs: GTK, gtkmm and libadwaita are set up before any test.
#include <adwaita.h>
#include <gtest/gtest.h>
#include <gtkmm/init.h>

#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Settings and recent files go to a folder of this run's own, never the user's.
    std::string config;
    if (char* made = g_dir_make_tmp("quessel-test-XXXXXX", nullptr)) {
        config = made;
        g_free(made);
        g_setenv("XDG_CONFIG_HOME", config.c_str(), TRUE);
    }
    // Listing the tests (CTest's discovery) needs no display.
    if (!GTEST_FLAG_GET(list_tests)) {
        gtk_init();
        Gtk::init_gtkmm_internals();
        adw_init();
    }
    const int result = RUN_ALL_TESTS();
    if (!config.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(config, ignored);
    }
    return result;
}

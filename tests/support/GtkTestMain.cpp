// The entry of the widget test programs: GTK, gtkmm and libadwaita are set up before any test.
#include <adwaita.h>
#include <gtest/gtest.h>
#include <gtkmm/init.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Settings and recent files go to a folder of this run's own, never the user's.
    if (char* config = g_dir_make_tmp("quessel-test-XXXXXX", nullptr)) {
        g_setenv("XDG_CONFIG_HOME", config, TRUE);
        g_free(config);
    }
    // Listing the tests (CTest's discovery) needs no display.
    if (!GTEST_FLAG_GET(list_tests)) {
        gtk_init();
        Gtk::init_gtkmm_internals();
        adw_init();
    }
    return RUN_ALL_TESTS();
}

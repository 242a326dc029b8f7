// Entry of the display test programs: GTK and libadwaita start once, before any test.
#include <adwaita.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Test discovery lists the tests without a display; only running them needs one.
    if (!testing::GTEST_FLAG(list_tests)) {
        gtk_init();
        adw_init();
    }
    return RUN_ALL_TESTS();
}

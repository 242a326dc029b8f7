// Entry of the test programs that need GTK and the web engine: GTK is started before the tests.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display; running them does, and says so once.
    if (!gtk_init_check()) {
        std::fprintf(stderr, "No display: run the web-engine tests under scripts/with-display.\n");
    }
    return RUN_ALL_TESTS();
}

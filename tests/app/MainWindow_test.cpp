// The document window: size limits, title, Find, the 65 % width, drops anywhere in the window.
#include "app/MainWindow.hpp"
#include "tests/app/WindowFixture.hpp"
#include "tests/support/MainLoop.hpp"

namespace quessel::app {
namespace {

using MainWindowTest = quessel::testing::WindowFixture;

// What a file drop delivers to a drop target.
bool drop(Gtk::DropTarget& target, const std::vector<core::FileUrl>& files, double x, double y) {
    std::vector<GFile*> items;
    for (const auto& file : files) {
        items.push_back(g_file_new_for_path(file.path().c_str()));
    }
    GValue value = G_VALUE_INIT;
    g_value_init(&value, GDK_TYPE_FILE_LIST);
    g_value_take_boxed(&value, gdk_file_list_new_from_array(items.data(), items.size()));
    gboolean accepted = FALSE;
    g_signal_emit_by_name(target.gobj(), "drop", &value, x, y, &accepted);
    g_value_unset(&value);
    for (auto* item : items) {
        g_object_unref(item);
    }
    return accepted;
}

TEST_F(MainWindowTest, IsTitledSizedAndCarriesTheToolbar) {
    EXPECT_EQ(window->get_title(), "Quessel");
    EXPECT_EQ(window->get_titlebar(), &content().headerBar());
    int width = 0;
    int height = 0;
    window->get_size_request(width, height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
    window->get_default_size(width, height);
    EXPECT_EQ(width, 1248) << "65 % of the 1920-pixel test screen";
    EXPECT_EQ(height, 1080);
}

TEST_F(MainWindowTest, TheFindActionShowsTheSearchBar) {
    ASSERT_TRUE(window->has_action("find"));
    window->activate_action("win.find");
    EXPECT_TRUE(appState->showSearch());
    settle();
    openDocument("a.yaml", "a: 1\n");
    EXPECT_TRUE(content().searchBar().is_drawable());
}

TEST_F(MainWindowTest, LaunchingOnASampleFileShowsTheRenderedTree) {
    const char* source = g_getenv("QUESSEL_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "run through CTest, which names the source folder";
    const auto sample = std::filesystem::path(source) / "examples" / "sample.yaml";
    appState->openFile(*core::FileUrl::fromPath(sample.string()));
    settle();
    EXPECT_TRUE(pageHas("document.querySelectorAll('.key').length > 3 && "
                        "!document.querySelector('.error-banner')"));
}

TEST_F(MainWindowTest, TakesDropsBeforeAnyWidgetInsideSoADropOnThePageOpensTheFile) {
    openDocument("a.yaml", "a: 1\n");
    EXPECT_EQ(window->dropTarget()->get_propagation_phase(), Gtk::PropagationPhase::CAPTURE);
    // A point inside the rendered page.
    double x = 0;
    double y = 0;
    ASSERT_TRUE(content().renderedView().translate_coordinates(*window, 50, 50, x, y));
    const auto first = writeFile("dropped.YML", "dropped: 1\n");
    const auto second = writeFile("second.yaml", "second: 1\n");
    EXPECT_TRUE(drop(*window->dropTarget(), {first, second}, x, y));
    settle();
    ASSERT_TRUE(appState->fileURL().has_value());
    EXPECT_EQ(appState->fileURL()->path(), first.path());
    EXPECT_TRUE(pageHas("document.querySelector('.key').textContent === 'dropped'"));
    const auto text = writeFile("notes.txt", "notes: 1\n");
    EXPECT_TRUE(drop(*window->dropTarget(), {text}, x, y));
    settle();
    EXPECT_EQ(appState->fileURL()->path(), first.path());
}

} // namespace
} // namespace quessel::app

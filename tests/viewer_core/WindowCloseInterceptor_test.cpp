// Closing a window with a document closes the document; the second close closes the window.
#include "tests/support/MainLoop.hpp"
#include "tests/support/TempFiles.hpp"
#include "viewer_core/gtk/WindowCloseInterceptor.hpp"

#include <gtest/gtest.h>

namespace quessel::core {
namespace {

const auto& configFolder = quessel::testing::isolateConfigFolder();

class WindowCloseInterceptorTest : public ::testing::Test {
protected:
    void SetUp() override {
        model = std::make_shared<ViewerAppState>("recentFiles", 5);
        file = *FileUrl::fromPath(folder.write("doc.yaml", "k: v\n").string());
        window = std::make_unique<Gtk::Window>();
        // A window that is closed only hides: the test can tell closed from kept.
        window->set_hide_on_close(true);
        window->present();
        quessel::testing::drainPending();
    }

    quessel::testing::TempFolder folder;
    std::shared_ptr<ViewerAppState> model;
    FileUrl file = *FileUrl::fromPath("/");
    std::unique_ptr<Gtk::Window> window;
};

TEST_F(WindowCloseInterceptorTest, TheFirstCloseClosesTheDocumentAndTheSecondTheWindow) {
    WindowCloseInterceptor interceptor(*window, model);
    model->openFile(file);
    window->close();
    EXPECT_TRUE(window->get_visible());
    EXPECT_FALSE(model->fileURL());

    window->close();
    EXPECT_FALSE(window->get_visible());
}

TEST_F(WindowCloseInterceptorTest, TheDocumentIsClosedUnconditionallyByDefault) {
    WindowCloseInterceptor interceptor(*window, model);
    model->openFile(file);
    model->setFileContent("k: edited\n");
    window->close();
    EXPECT_FALSE(model->fileURL());
    EXPECT_EQ(model->fileContent(), "");
    EXPECT_EQ(quessel::testing::readFile(file.path()), "k: v\n");
}

TEST_F(WindowCloseInterceptorTest, WithoutADocumentTheWindowCloses) {
    WindowCloseInterceptor interceptor(*window, model);
    window->close();
    EXPECT_FALSE(window->get_visible());
}

TEST_F(WindowCloseInterceptorTest, AModelThatIsGoneLetsTheWindowClose) {
    WindowCloseInterceptor interceptor(*window, model);
    model->openFile(file);
    model.reset();
    window->close();
    EXPECT_FALSE(window->get_visible());
}

TEST_F(WindowCloseInterceptorTest, TheReplacedCloseRouteDecidesAndTheWindowStays) {
    WindowCloseInterceptor interceptor(*window, model);
    int routed = 0;
    interceptor.setCloseRoute([&](ViewerAppState&) { ++routed; });
    model->openFile(file);
    window->close();
    EXPECT_EQ(routed, 1);
    EXPECT_TRUE(model->fileURL());
    EXPECT_TRUE(window->get_visible());
}

TEST_F(WindowCloseInterceptorTest, OtherCloseHandlersStillDecideWhenNoDocumentIsOpen) {
    WindowCloseInterceptor interceptor(*window, model);
    int asked = 0;
    window->signal_close_request().connect(
        [&] {
            ++asked;
            return true; // keeps the window
        },
        false);
    model->openFile(file);
    window->close(); // taken by the interceptor
    EXPECT_EQ(asked, 0);
    window->close(); // passed on
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window->get_visible());
}

TEST_F(WindowCloseInterceptorTest, AnInterceptorThatIsGoneInterceptsNothing) {
    model->openFile(file);
    { WindowCloseInterceptor interceptor(*window, model); }
    window->close();
    EXPECT_FALSE(window->get_visible());
    EXPECT_TRUE(model->fileURL());
}

} // namespace
} // namespace quessel::core

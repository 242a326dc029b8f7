// A real document window over a real document model, with sample files in a folder of its own.
#include "tests/app/WindowFixture.hpp"

#include "tests/app/PageProbe.hpp"
#include "tests/support/MainLoop.hpp"

#include <fstream>

namespace quessel::testing {

WindowFixture::WindowFixture() {
    char* made = g_dir_make_tmp("quessel-window-XXXXXX", nullptr);
    folder = made;
    g_free(made);
    settings.setFontSize(14);
    appState = std::make_unique<core::ViewerAppState>("recentFiles", 5);
    replaceWindow(app::web::documentPages());
}

void WindowFixture::replaceWindow(app::web::YAMLWebView::PageSource pageSource) {
    window.reset();
    window = std::make_unique<app::MainWindow>(*appState, settings, std::move(pageSource));
    window->present();
    runUntil([&] { return window->get_mapped(); });
    settle();
}

WindowFixture::~WindowFixture() {
    window.reset();
    drainPending();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

core::FileUrl WindowFixture::writeFile(const std::string& name, const std::string& content) {
    const auto path = folder / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return *core::FileUrl::fromPath(path.string());
}

void WindowFixture::openDocument(const std::string& name, const std::string& content) {
    // A mark on the page showing now tells it from the page the open brings.
    evaluate(page(), "window.previousPage = true");
    appState->openFile(writeFile(name, content));
    settle();
    EXPECT_TRUE(pageHas("!window.previousPage && document.querySelector('.yaml-content')"));
}

void WindowFixture::settle() {
    drainPending();
    runFor(std::chrono::milliseconds(20));
    drainPending();
}

bool WindowFixture::pageHas(const std::string& condition) {
    return waitForPage(page(), condition);
}

} // namespace quessel::testing

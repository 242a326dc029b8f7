// A real document window over a real document model, with sample files in a folder of its own.
#pragma once

#include "app/MainWindow.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace quessel::testing {

class WindowFixture : public ::testing::Test {
protected:
    WindowFixture();
    ~WindowFixture() override;

    // Takes the window down and shows a new one whose pages come from `pageSource`.
    void replaceWindow(app::web::YAMLWebView::PageSource pageSource);
    // Writes a file into the fixture's folder and returns its URL.
    core::FileUrl writeFile(const std::string& name, const std::string& content);
    // Opens a new file with the given text and waits until its page has loaded.
    void openDocument(const std::string& name, const std::string& content);
    // Waits for the window's refresh.
    void settle();
    // Waits until the script expression holds in the rendered page.
    bool pageHas(const std::string& condition);

    app::ContentView& content() { return window->content(); }
    WebKitWebView* page() { return content().renderedView().pageView().get(); }

    std::filesystem::path folder;
    std::unique_ptr<core::ViewerAppState> appState;
    core::SharedSettings& settings = core::SharedSettings::shared();
    std::unique_ptr<app::MainWindow> window;
};

} // namespace quessel::testing

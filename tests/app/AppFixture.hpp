// A running QuesselApp for tests: registered under an id of its own, with helpers that drive its
// actions, windows and the questions it asks.
#pragma once

#include "app/QuesselApp.hpp"
#include "tests/support/TempFiles.hpp"

#include <gtest/gtest.h>

#include <string>

typedef struct _AdwMessageDialog AdwMessageDialog;

namespace quessel::app {

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Activates `name` ("close", "zoom-in", ...) as the menu or its shortcut would.
    void activate(const std::string& name);
    void activate(const std::string& name, const Glib::VariantBase& parameter);
    bool isEnabled(const std::string& name) const;

    // The first window, made by activating the application when there is none.
    MainWindow& window();
    core::FileUrl writeDocument(const std::string& name, const std::string& text);
    core::FileUrl openDocument(const std::string& name, const std::string& text);
    // Files the user opens are read away from the main thread: waits until the file being
    // read, if any, has reached the model (or been dropped).
    void waitForOpen();

    // The message dialog on screen, or none; and answering it as a click would.
    static AdwMessageDialog* shownQuestion();
    static void answer(const char* response);

    quessel::testing::TempFolder folder;
    Glib::RefPtr<QuesselApp> application;
    AppState* model = nullptr;
};

// An application id no other test program uses at the same time.
std::string uniqueApplicationId(const std::string& feature);

} // namespace quessel::app

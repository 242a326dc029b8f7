// A running QuesselApp for tests: registered under an id of its own, with helpers that drive its
// actions, windows and the questions it asks.
#include "tests/app/AppFixture.hpp"

#include "app/MainWindow.hpp"
#include "tests/support/MainLoop.hpp"
#include "viewer_core/GObjectPtr.hpp"

#include <adwaita.h>

#include <unistd.h>

namespace quessel::app {

namespace {
const auto& configFolder = quessel::testing::isolateConfigFolder();
} // namespace

std::string uniqueApplicationId(const std::string& feature) {
    return "org.quessel.tests." + feature + ".p" + std::to_string(getpid());
}

void AppFixture::SetUp() {
    application = QuesselApp::create(
        uniqueApplicationId(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    ASSERT_TRUE(application->register_application());
    model = application->appState().get();
    model->clearRecentFiles();
}

void AppFixture::TearDown() {
    // Answer anything left open, then let the windows go.
    while (shownQuestion() != nullptr)
        gtk_window_destroy(GTK_WINDOW(shownQuestion()));
    for (Gtk::Window* window : application->get_windows())
        window->set_visible(false); // as closing does: the application lets it go
    quessel::testing::runFor(std::chrono::milliseconds(20));
}

// The enabled states follow the model one main-loop turn later, as every user event does.
void AppFixture::activate(const std::string& name) {
    quessel::testing::drainPending();
    application->activate_action(name);
    quessel::testing::drainPending();
}

void AppFixture::activate(const std::string& name, const Glib::VariantBase& parameter) {
    quessel::testing::drainPending();
    application->activate_action(name, parameter);
    quessel::testing::drainPending();
}

bool AppFixture::isEnabled(const std::string& name) const {
    quessel::testing::drainPending();
    return application->get_action_enabled(name);
}

MainWindow& AppFixture::window() {
    if (application->get_windows().empty()) {
        application->activate();
        quessel::testing::drainPending();
    }
    return dynamic_cast<MainWindow&>(*application->get_windows().front());
}

core::FileUrl AppFixture::writeDocument(const std::string& name, const std::string& text) {
    return *core::FileUrl::fromPath(folder.write(name, text).string());
}

core::FileUrl AppFixture::openDocument(const std::string& name, const std::string& text) {
    const auto url = writeDocument(name, text);
    window();
    model->openFile(url);
    quessel::testing::drainPending();
    return url;
}

void AppFixture::waitForOpen() {
    quessel::testing::drainPending();
    EXPECT_TRUE(quessel::testing::runUntil(
        [&] { return !application->fileOpener().opening().has_value(); }));
    quessel::testing::drainPending();
}

AdwMessageDialog* AppFixture::shownQuestion() {
    quessel::testing::drainPending();
    GListModel* toplevels = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
        const auto object =
            core::GObjectPtr<GObject>::adopt(G_OBJECT(g_list_model_get_item(toplevels, i)));
        // The list keeps a reference of its own, so the pointer outlives ours.
        if (ADW_IS_MESSAGE_DIALOG(object.get()) && gtk_widget_get_visible(GTK_WIDGET(object.get())))
            return ADW_MESSAGE_DIALOG(object.get());
    }
    return nullptr;
}

void AppFixture::answer(const char* response) {
    AdwMessageDialog* dialog = shownQuestion();
    ASSERT_NE(dialog, nullptr) << "no question is showing";
    adw_message_dialog_response(dialog, response);
    gtk_window_close(GTK_WINDOW(dialog));
    quessel::testing::drainPending();
}

} // namespace quessel::app

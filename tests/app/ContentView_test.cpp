// The window content: which view shows, the toolbar per state, the editor binding, messages.
#include "app/ContentView.hpp"
#include "tests/app/Gate.hpp"
#include "tests/app/PageProbe.hpp"
#include "tests/app/WindowFixture.hpp"
#include "tests/support/Click.hpp"
#include "tests/support/ClipboardText.hpp"
#include "tests/support/MainLoop.hpp"

#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>
#include <thread>

namespace quessel::app {
namespace {

using page::Appearance;
using web::documentPages;
using web::YAMLWebView;

using ContentViewTest = quessel::testing::WindowFixture;
using quessel::testing::Gate;
using quessel::testing::GateOpener;
using quessel::testing::runUntil;

// The application's pages, but a text holding `marker` waits at the gate before it is loaded.
YAMLWebView::PageSource gatedPages(std::shared_ptr<Gate> gate, std::string marker = "slow",
                                   YAMLWebView::PageSource pages = documentPages()) {
    return [gate, marker, pages](std::string_view content, int fontSize, Appearance appearance) {
        if (content.find(marker) != std::string_view::npos) {
            gate->pass();
        }
        return pages(content, fontSize, appearance);
    };
}

// Waits until no page is being made anywhere in the process, then runs what is left for the loop.
bool workersDone() {
    const bool done = runUntil([] { return runningWorkers() == 0; });
    quessel::testing::drainPending();
    return done;
}

TEST_F(ContentViewTest, LaunchShowsTheEmptyStateAndOnlyTheOpenButton) {
    EXPECT_EQ(content().stack().get_visible_child_name(), "empty");
    EXPECT_FALSE(content().leadingSpacer().get_visible());
    EXPECT_FALSE(content().fileNameItem().get_visible());
    EXPECT_FALSE(content().editToggle().get_visible());
    EXPECT_FALSE(content().saveButton().get_visible());
    EXPECT_FALSE(content().copyButton().get_visible());
    EXPECT_TRUE(content().openButton().get_visible());
}

TEST_F(ContentViewTest, AnOpenFileShowsThePageAndFillsTheToolbar) {
    openDocument("dir/config.yaml", "name: quessel\n");
    EXPECT_EQ(content().stack().get_visible_child_name(), "rendered");
    EXPECT_TRUE(content().leadingSpacer().get_visible());
    EXPECT_EQ(content().leadingSpacer().get_width(), 150);
    EXPECT_EQ(content().fileNameItem().shownName(), "config.yaml");
    EXPECT_TRUE(content().editToggle().get_visible());
    EXPECT_EQ(content().editToggle().title(), "Edit");
    EXPECT_FALSE(content().saveButton().get_visible());
    EXPECT_TRUE(content().copyButton().get_visible());
    // Toolbar order at the end: edit toggle, Save, Copy, Open.
    EXPECT_EQ(content().editToggle().get_next_sibling(), &content().saveButton());
    EXPECT_EQ(content().saveButton().get_next_sibling(), &content().copyButton());
    EXPECT_EQ(content().copyButton().get_next_sibling(), &content().openButton());
    EXPECT_TRUE(pageHas("document.querySelector('.key').textContent === 'name'"));
}

TEST_F(ContentViewTest, TheEditorHidesTheSearchBarWhichComesBackWithItsText) {
    openDocument("a.yaml", "a: 1\n");
    appState->setShowSearch(true);
    settle();
    EXPECT_TRUE(content().searchBar().get_visible());
    content().searchBar().setSearchText("a");
    quessel::testing::click(content().editToggle());
    settle();
    EXPECT_EQ(content().stack().get_visible_child_name(), "editor");
    EXPECT_FALSE(content().searchBar().is_drawable());
    EXPECT_EQ(content().editToggle().title(), "View");
    quessel::testing::click(content().editToggle());
    settle();
    EXPECT_EQ(content().stack().get_visible_child_name(), "rendered");
    EXPECT_TRUE(content().searchBar().is_drawable());
    EXPECT_EQ(content().searchBar().searchText(), "a");
}

TEST_F(ContentViewTest, TheEditorIsBoundBothWaysAndKeepsCursorAndUndo) {
    openDocument("a.yaml", "a: 1\n");
    appState->setIsEditing(true);
    settle();
    auto buffer = content().editor().textView().get_buffer();
    EXPECT_EQ(buffer->get_text().raw(), "a: 1\n");
    EXPECT_FALSE(content().saveButton().get_visible());
    buffer->place_cursor(buffer->end());
    buffer->insert_at_cursor("b: 2\n");
    EXPECT_EQ(appState->fileContent(), "a: 1\nb: 2\n");
    settle();
    EXPECT_TRUE(content().saveButton().get_visible()) << "Save shows on the first edit";
    EXPECT_EQ(buffer->get_insert()->get_iter().get_offset(), 10) << "the refresh moved the cursor";
    appState->setShowSearch(true); // any refresh that is not the editor's own
    settle();
    EXPECT_TRUE(buffer->get_can_undo()) << "the refresh cost the undo history";
    buffer->undo();
    EXPECT_EQ(appState->fileContent(), "a: 1\n");
    settle();
    EXPECT_FALSE(content().saveButton().get_visible());
    appState->setFileContent("replaced: yes\n");
    settle();
    EXPECT_EQ(buffer->get_text().raw(), "replaced: yes\n");
}

TEST_F(ContentViewTest, ResetsTheTitleOnEveryFileChangeButNotAtFirst) {
    window->set_title("Changed");
    settle();
    EXPECT_EQ(window->get_title(), "Changed");
    openDocument("a.yaml", "a: 1\n");
    EXPECT_EQ(window->get_title(), "Quessel");
    window->set_title("Changed");
    openDocument("b.yaml", "b: 1\n");
    EXPECT_EQ(window->get_title(), "Quessel");
    window->set_title("Changed");
    appState->closeFile();
    settle();
    EXPECT_EQ(window->get_title(), "Quessel");
    EXPECT_EQ(content().stack().get_visible_child_name(), "empty");
}

TEST_F(ContentViewTest, TruncatesTheFontSizeAndPassesFourteenForUnusableSettings) {
    EXPECT_EQ(ContentView::fontSizeForPage(13.7), 13);
    EXPECT_EQ(ContentView::fontSizeForPage(-0.5), 0);
    EXPECT_EQ(ContentView::fontSizeForPage(std::nan("")), 14);
    EXPECT_EQ(ContentView::fontSizeForPage(std::numeric_limits<double>::infinity()), 14);
    EXPECT_EQ(ContentView::fontSizeForPage(1e12), 14);
    EXPECT_EQ(ContentView::fontSizeForPage(-3e9), 14);
    EXPECT_EQ(ContentView::fontSizeForPage(2147483647.9), 2147483647);
}

TEST_F(ContentViewTest, ShowsEveryFailedOpenEvenWithTheSameMessage) {
    std::vector<std::string> shown;
    content().signalMessageShown().connect([&](const std::string& m) { shown.push_back(m); });
    const auto missing = *core::FileUrl::fromPath((folder / "missing.yaml").string());
    appState->openFile(missing);
    settle();
    appState->openFile(missing);
    settle();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].rfind("Could not open file: ", 0), 0u) << shown[0];
    EXPECT_EQ(shown[0], shown[1]);
    appState->setShowSearch(true); // unrelated changes show nothing
    settle();
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(ContentViewTest, ShowsAFailedSave) {
    std::vector<std::string> shown;
    content().signalMessageShown().connect([&](const std::string& m) { shown.push_back(m); });
    openDocument("gone/a.yaml", "a: 1\n");
    std::filesystem::remove_all(folder / "gone");
    appState->setFileContent("a: 2\n");
    quessel::testing::click(content().saveButton());
    settle();
    ASSERT_EQ(shown.size(), 1u);
    // The toast says why, in the words of the standard-output line.
    EXPECT_EQ(shown[0], "Could not save file: " + *appState->lastSaveError());
    EXPECT_NE(shown[0].find("No such file or directory"), std::string::npos);
    std::filesystem::create_directories(folder / "gone");
    quessel::testing::click(content().saveButton());
    settle();
    EXPECT_EQ(shown.size(), 1u) << "a save that works reports nothing";
    EXPECT_FALSE(appState->isDirty());
}

TEST_F(ContentViewTest, OpensRecentFilesThroughTheOpenRequest) {
    const auto first = writeFile("first.yaml", "first: 1\n");
    appState->openFile(first);
    appState->closeFile();
    settle();
    std::vector<std::string> requested;
    content().setOpenRequest([&](const core::FileUrl& url) { requested.push_back(url.path()); });
    const auto rows = content().emptyState().recentRows();
    ASSERT_FALSE(rows.empty());
    quessel::testing::click(*rows.front());
    EXPECT_EQ(requested, (std::vector<std::string>{first.path()}));
}

TEST_F(ContentViewTest, TheOpenDialogOffersYamlFilesAndOpensTheChosenOne) {
    const auto chosen = writeFile("chosen.yml", "chosen: 1\n");
    std::vector<std::string> requested;
    content().setOpenRequest([&](const core::FileUrl& url) { requested.push_back(url.path()); });
    quessel::testing::click(content().openButton());
    auto dialog = content().openDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->get_modal());
    EXPECT_EQ(dialog->get_transient_for(), window.get());
    EXPECT_FALSE(dialog->get_select_multiple());
    ASSERT_TRUE(dialog->get_filter());
    EXPECT_EQ(dialog->get_filter()->get_name(), "YAML files");
    dialog->set_file(Gio::File::create_for_path(chosen.path()));
    g_signal_emit_by_name(dialog->gobj(), "response", GTK_RESPONSE_CANCEL);
    EXPECT_TRUE(requested.empty()) << "a cancelled dialog opens nothing";
    quessel::testing::click(content().openButton());
    dialog = content().openDialog();
    dialog->set_file(Gio::File::create_for_path(chosen.path()));
    // The dialog selects the file once it has read the folder.
    ASSERT_TRUE(quessel::testing::runUntil([&] { return dialog->get_file() != nullptr; }));
    g_signal_emit_by_name(dialog->gobj(), "response", GTK_RESPONSE_ACCEPT);
    EXPECT_EQ(requested, (std::vector<std::string>{chosen.path()}));
}

TEST_F(ContentViewTest, DropsOpenTheFirstYamlFileInAnyCaseAndNothingElse) {
    const auto yml = writeFile("upper.YML", "upper: 1\n");
    const auto txt = writeFile("notes.txt", "notes: 1\n");
    const auto other = writeFile("other.yaml", "other: 1\n");
    EXPECT_FALSE(content().handleDrop({}));
    EXPECT_TRUE(content().handleDrop({Gio::File::create_for_path(txt.path())}));
    settle();
    EXPECT_FALSE(appState->fileURL().has_value());
    EXPECT_TRUE(content().handleDrop(
        {Gio::File::create_for_path(yml.path()), Gio::File::create_for_path(other.path())}));
    settle();
    ASSERT_TRUE(appState->fileURL().has_value());
    EXPECT_EQ(appState->fileURL()->path(), yml.path());
}

TEST_F(ContentViewTest, CopiesTheRawTextAndThePath) {
    openDocument("copy me.yaml", "text: \"é ✓\"\n");
    quessel::testing::click(content().copyButton());
    EXPECT_EQ(quessel::testing::clipboardText(*window), "text: \"é ✓\"\n");
    content().fileNameItem().copyPath();
    EXPECT_EQ(quessel::testing::clipboardText(*window), (folder / "copy me.yaml").string());
}

TEST_F(ContentViewTest, LoadsAndMakesPagesAwayFromTheMainThread) {
    struct Threads {
        std::mutex mutex;
        std::vector<std::thread::id> ids;
    };
    auto threads = std::make_shared<Threads>();
    replaceWindow([threads, pages = documentPages()](std::string_view content, int fontSize,
                                                     Appearance appearance) {
        {
            const std::lock_guard lock(threads->mutex);
            threads->ids.push_back(std::this_thread::get_id());
        }
        return pages(content, fontSize, appearance);
    });
    openDocument("a.yaml", "a: 1\n");
    openDocument("b.yaml", "b: [1, 2]\n");
    const std::lock_guard lock(threads->mutex);
    ASSERT_EQ(threads->ids.size(), 2u);
    for (const auto& id : threads->ids) {
        EXPECT_NE(id, std::this_thread::get_id());
    }
}

TEST_F(ContentViewTest, SlowWorkShowsTheFileAndAProgressBarUntilThePageShows) {
    auto gate = Gate::create();
    auto again = Gate::create();
    const GateOpener opener(gate);
    const GateOpener reopener(again);
    replaceWindow(gatedPages(gate, "slow", gatedPages(again, "later")));
    EXPECT_FALSE(content().progress().get_visible());
    appState->openFile(writeFile("big.yaml", "slow: 1\n"));
    settle();
    ASSERT_TRUE(runUntil([&] { return content().progress().get_visible(); }));
    EXPECT_EQ(content().progress().text(), "Opening big.yaml…");
    EXPECT_TRUE(content().progress().bar().is_drawable());
    // The window answers meanwhile: the toolbar already names the file, the editor opens.
    EXPECT_EQ(content().fileNameItem().shownName(), "big.yaml");
    appState->setIsEditing(true);
    settle();
    EXPECT_EQ(content().stack().get_visible_child_name(), "editor");
    appState->setIsEditing(false);
    settle();
    gate->open();
    ASSERT_TRUE(runUntil([&] { return !content().progress().get_visible(); }));
    EXPECT_TRUE(pageHas("document.querySelector('.key').textContent === 'slow'"));

    appState->setFileContent("later: 2\n");
    settle();
    ASSERT_TRUE(runUntil([&] { return content().progress().get_visible(); }));
    EXPECT_EQ(content().progress().text(), "Updating big.yaml…") << "an edit is no new opening";
    again->open();
    ASSERT_TRUE(runUntil([&] { return !content().progress().get_visible(); }));
}

TEST_F(ContentViewTest, AFileBeingReadIsNamedOverWhicheverViewShows) {
    const auto url = writeFile("read me.yaml", "a: 1\n");
    content().setOpening(url);
    ASSERT_TRUE(runUntil([&] { return content().progress().is_drawable(); }));
    EXPECT_EQ(content().stack().get_visible_child_name(), "empty");
    EXPECT_EQ(content().progress().text(), "Opening read me.yaml…");
    content().setOpening(std::nullopt);
    EXPECT_FALSE(content().progress().get_visible());
}

TEST_F(ContentViewTest, ANewerFileOpenedMidLoadWins) {
    auto gate = Gate::create();
    const GateOpener opener(gate);
    replaceWindow(gatedPages(gate));
    appState->openFile(writeFile("first.yaml", "slow: first\n"));
    settle();
    ASSERT_TRUE(runUntil([&] { return gate->arrivals() == 1; }));
    openDocument("second.yaml", "second: 2\n");
    EXPECT_EQ(content().renderedView().coordinator().lastContent(), "second: 2\n");
    ASSERT_TRUE(runUntil([&] { return !content().progress().get_visible(); }));
    gate->open();
    ASSERT_TRUE(workersDone());
    settle();
    EXPECT_FALSE(webkit_web_view_is_loading(page())) << "the overtaken page was loaded after all";
    EXPECT_EQ(quessel::testing::evaluate(page(), "document.querySelector('.key').textContent"),
              "second");
    EXPECT_FALSE(content().renderedView().busy());
    EXPECT_FALSE(content().progress().get_visible());
}

TEST_F(ContentViewTest, AFontSizeChangeMidLoadReachesThePageOnceItHasLoaded) {
    auto gate = Gate::create();
    const GateOpener opener(gate);
    replaceWindow(gatedPages(gate));
    appState->openFile(writeFile("a.yaml", "slow: 1\n"));
    settle();
    ASSERT_TRUE(runUntil([&] { return gate->arrivals() == 1; }));
    settings.setFontSize(17);
    settle();
    settings.setFontSize(19);
    settle();
    gate->open();
    ASSERT_TRUE(workersDone());
    EXPECT_TRUE(pageHas("document.querySelector('.key') && "
                        "getComputedStyle(document.body).fontSize === '19px'"));
    EXPECT_EQ(gate->arrivals(), 1) << "a zoom step made the whole page again";
    settings.setFontSize(14);
    settle();
    EXPECT_TRUE(pageHas("getComputedStyle(document.body).fontSize === '14px'"));
}

TEST_F(ContentViewTest, ClosingTheWindowMidLoadDropsTheWorkWithoutWaiting) {
    auto gate = Gate::create();
    const GateOpener opener(gate);
    auto returned = std::make_shared<std::atomic<bool>>(false);
    replaceWindow([gate, returned](std::string_view, int, Appearance) {
        gate->pass();
        *returned = true;
        return page::GeneratedPage{"<p id='stale'>stale</p>", std::nullopt, 0};
    });
    appState->openFile(writeFile("a.yaml", "a: 1\n"));
    settle();
    ASSERT_TRUE(runUntil([&] { return gate->arrivals() == 1; }));
    // Taking the window down returns while the worker still waits.
    window.reset();
    quessel::testing::drainPending();
    EXPECT_FALSE(*returned);
    gate->open();
    ASSERT_TRUE(workersDone());
    EXPECT_TRUE(*returned);
    // A new window over the same model shows the document, untouched by the dropped page.
    replaceWindow(documentPages());
    EXPECT_TRUE(pageHas("document.querySelector('.key') && document.querySelector('.key')"
                        ".textContent === 'a' && !document.getElementById('stale')"));
}

} // namespace
} // namespace quessel::app

// Where the window shows the rendered document: the page web view and its coordinator.
#pragma once

#include "app/web/BackgroundPageBuilder.hpp"
#include "app/web/Coordinator.hpp"
#include "app/web/PageCursor.hpp"
#include "app/web/PageWebView.hpp"
#include "app/web/PlatformAppearance.hpp"
#include "page/PageTemplate.hpp"

#include <gtkmm/box.h>
#include <sigc++/signal.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quessel::app::web {

// Pages are generated off the main thread; the web view keeps showing the previous page until
// the newest one arrives, and reports meanwhile that it is busy.
class YAMLWebView : public Gtk::Box {
public:
    // Makes a page from document text, a font size and an appearance, on a worker thread.
    using PageSource = BackgroundPageBuilder::PageSource;

    // `appearance` is read on the main thread each time a page is requested.
    YAMLWebView(PageSource pageSource, Coordinator::CountBinding currentMatch,
                Coordinator::CountBinding totalMatches,
                core::NotificationCenter& center = core::NotificationCenter::defaultCenter(),
                page::AppearanceSource appearance = &platformAppearance);
    ~YAMLWebView() override;

    // A new page only when the text differs from the text last requested; otherwise a new font
    // size is one script assignment that keeps the page with its collapse and search state (sent
    // once the page has loaded, while it is still being made). An empty text at first loads
    // nothing.
    // `searchAgain`: the text came from the file on disk, and the new page takes the search back
    // (an edit shows its page without marks, the counts as they were).
    void update(const std::string& content, int fontSize, bool searchAgain = false);

    // Forgets the requested text and drops work under way, as a host created anew would: the
    // next update generates a page.
    void forget();

    // What a new page of the same document's file searches for again: the search text and which
    // match was current.
    struct SearchState {
        std::string text;
        int current = 0;
    };
    void setSearchSource(std::function<SearchState()> source) { searchSource_ = std::move(source); }

    // The page's cursor row as its last message told; none while no row is the cursor.
    const std::optional<PageCursor>& cursor() const noexcept { return cursor_; }
    sigc::signal<void()>& signalCursorChanged() noexcept { return cursorChanged_; }
    // A new page of the same document (edited, or changed on disk) shows what the reader was
    // looking at: the nodes folded as they were, the same row at the top, the cursor on the node
    // it was on (or the nearest one still there), and after a reload the search with its current
    // match. After
    // forgetView() the next page starts afresh, as a page of another document should.
    void forgetView();

    // Whole-tree folding in the page; the cursor stays on a row that shows.
    void expandAll();
    void collapseAll();
    void expandToLevel(int level);

    // From a page request until the engine has loaded the newest page.
    bool busy() const noexcept { return busy_; }
    sigc::signal<void(bool)>& signalBusyChanged() noexcept { return busyChanged_; }

    PageWebView& pageView() noexcept { return page_; }
    Coordinator& coordinator() noexcept { return *coordinator_; }

private:
    void request();
    void pageMade(page::GeneratedPage page);
    void captureView();
    void viewCaptured(std::optional<std::string> state);
    void restoreView();
    void pageLoaded();
    void setBusy(bool busy);
    void cursorMoved(JSCValue* body);
    void setCursor(std::optional<PageCursor> cursor);
    void applyFontSize();

    page::AppearanceSource appearance_;
    std::shared_ptr<Coordinator> coordinator_;
    PageWebView page_;
    bool busy_ = false;
    // The font size of the page in the engine, or of the page being made for it.
    int pageFontSize_ = page::defaultFontSize;
    sigc::signal<void(bool)> busyChanged_;
    std::optional<PageCursor> cursor_;
    // Where the cursor was last, for the next page of the same document.
    std::optional<yaml::NodePath> keptCursor_;
    // The view of the engine's page, taken as a newer page was requested; whether the engine's
    // page is of the document shown; a page made while its view was being taken waits for it.
    std::optional<std::string> keptView_;
    bool sameDocument_ = false;
    bool capturing_ = false;
    std::uint64_t captureSerial_ = 0;
    std::optional<page::GeneratedPage> heldPage_;
    std::function<SearchState()> searchSource_;
    bool searchAgain_ = false;
    sigc::signal<void()> cursorChanged_;
    // Last, so that it goes first: no page arrives for a host being taken down.
    BackgroundPageBuilder builder_;
};

} // namespace quessel::app::web

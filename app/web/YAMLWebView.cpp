// Where the window shows the rendered document: the page web view and its coordinator.
#include "app/web/YAMLWebView.hpp"

#include "app/web/PageCalls.hpp"

namespace quessel::app::web {

YAMLWebView::YAMLWebView(PageSource pageSource, Coordinator::CountBinding currentMatch,
                         Coordinator::CountBinding totalMatches, core::NotificationCenter& center,
                         page::AppearanceSource appearance)
    : Gtk::Box(Gtk::Orientation::VERTICAL), appearance_(std::move(appearance)),
      coordinator_(Coordinator::create(std::move(currentMatch), std::move(totalMatches), center)),
      builder_(std::move(pageSource),
               [this](page::GeneratedPage page) { pageMade(std::move(page)); }) {
    coordinator_->setWebView(&page_);
    page_.onMatchUpdate(
        [coordinator = coordinator_.get()](JSCValue* body) { coordinator->receive(body); });
    page_.onCursorChanged([this](JSCValue* body) { cursorMoved(body); });
    page_.onLoadFinished([this] { pageLoaded(); });
    gtk_widget_set_hexpand(page_.widget(), TRUE);
    gtk_widget_set_vexpand(page_.widget(), TRUE);
    gtk_box_append(gobj(), page_.widget());
}

YAMLWebView::~YAMLWebView() {
    builder_.cancel();
    coordinator_->detach();
    page_.onMatchUpdate(nullptr);
    page_.onCursorChanged(nullptr);
    page_.onLoadFinished(nullptr);
    gtk_box_remove(gobj(), page_.widget());
}

void YAMLWebView::update(const std::string& content, int fontSize, bool searchAgain) {
    if (content != coordinator_->lastContent()) {
        searchAgain_ = searchAgain;
        coordinator_->setLastContent(std::make_shared<const std::string>(content));
        coordinator_->setLastFontSize(fontSize);
        request();
        return;
    }
    if (fontSize == coordinator_->lastFontSize()) {
        return;
    }
    coordinator_->setLastFontSize(fontSize);
    // A page being made or loaded has the old size, and a script sent now could reach the page
    // before it; the size follows once it has loaded. Making it again would cost a whole
    // generation per zoom step.
    if (!busy_) {
        applyFontSize();
    }
}

void YAMLWebView::applyFontSize() {
    if (pageFontSize_ != coordinator_->lastFontSize()) {
        pageFontSize_ = coordinator_->lastFontSize();
        page_.evaluate(fontSizeAssignment(pageFontSize_));
    }
}

void YAMLWebView::forget() {
    if (!builder_.pending() && coordinator_->lastContent().empty() &&
        coordinator_->lastFontSize() == page::defaultFontSize) {
        return;
    }
    builder_.cancel();
    heldPage_.reset();
    coordinator_->setLastContent(nullptr);
    coordinator_->setLastFontSize(page::defaultFontSize);
    pageFontSize_ = page::defaultFontSize;
    forgetView();
    page_.loadPage(std::string());
    setBusy(false);
}

void YAMLWebView::request() {
    // GTK and libadwaita are read here, on the main thread; the worker gets plain values.
    const page::Appearance appearance = appearance_ ? appearance_() : page::Appearance::light;
    pageFontSize_ = coordinator_->lastFontSize();
    builder_.request(coordinator_->sharedLastContent(), pageFontSize_, appearance);
    // While a page is under way the engine still shows the one whose view was taken for it.
    if (!busy_ && sameDocument_) {
        captureView();
    }
    setBusy(true);
}

void YAMLWebView::captureView() {
    capturing_ = true;
    const std::uint64_t serial = ++captureSerial_;
    page_.evaluate(viewStateQuery, [this, serial](std::optional<std::string> state) {
        if (serial == captureSerial_) {
            viewCaptured(std::move(state));
        }
    });
}

void YAMLWebView::viewCaptured(std::optional<std::string> state) {
    capturing_ = false;
    // A page without a tree (a text that does not load, for now) keeps the view of the last one
    // that had a tree, for when the text loads again.
    if (state && *state != "null") {
        keptView_ = std::move(state);
    }
    if (heldPage_) {
        page::GeneratedPage page = std::move(*heldPage_);
        heldPage_.reset();
        pageMade(std::move(page));
    }
}

void YAMLWebView::pageMade(page::GeneratedPage page) {
    if (capturing_) {
        heldPage_ = std::move(page);
        return;
    }
    page_.loadPage(std::move(page));
    setCursor(std::nullopt);
}

void YAMLWebView::pageLoaded() {
    // A page the engine finishes while a newer one is being made, or waits, is not the newest.
    if (!builder_.pending() && !heldPage_) {
        applyFontSize();
        restoreView();
        sameDocument_ = true;
        setBusy(false);
    }
}

// In this order: the folding gives the rows, the top row the scroll position, and the cursor
// and the current match then need not move the view.
void YAMLWebView::restoreView() {
    if (keptView_) {
        page_.evaluate(restoreViewStateCall(*keptView_));
    }
    if (keptCursor_) {
        page_.evaluate(placeCursorCall(*keptCursor_));
    }
    if (sameDocument_ && searchAgain_ && searchSource_) {
        const SearchState search = searchSource_();
        if (!search.text.empty()) {
            page_.evaluate(highlightMatchesCall(search.text, search.current));
        }
    }
}

void YAMLWebView::cursorMoved(JSCValue* body) {
    auto cursor = PageCursor::read(body);
    if (cursor) {
        keptCursor_ = cursor->path;
    }
    setCursor(std::move(cursor));
}

void YAMLWebView::setCursor(std::optional<PageCursor> cursor) {
    const bool same = cursor.has_value() == cursor_.has_value() &&
                      (!cursor || (cursor->path == cursor_->path && cursor->line == cursor_->line));
    cursor_ = std::move(cursor);
    if (!same) {
        cursorChanged_.emit();
    }
}

void YAMLWebView::forgetView() {
    keptCursor_.reset();
    keptView_.reset();
    sameDocument_ = false;
    ++captureSerial_;
    if (capturing_) {
        viewCaptured(std::nullopt);
    }
    setCursor(std::nullopt);
}

void YAMLWebView::expandAll() {
    page_.evaluate(expandAllCall);
}

void YAMLWebView::collapseAll() {
    page_.evaluate(collapseAllCall);
}

void YAMLWebView::expandToLevel(int level) {
    page_.evaluate(expandToLevelCall(level));
}

void YAMLWebView::setBusy(bool busy) {
    if (busy_ == busy) {
        return;
    }
    busy_ = busy;
    busyChanged_.emit(busy);
}

} // namespace quessel::app::web

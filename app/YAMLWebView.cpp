// Where the window shows the rendered document: the page web view and its coordinator.
#include "app/YAMLWebView.hpp"

#include "app/PageCalls.hpp"

namespace quessel::app {

YAMLWebView::YAMLWebView(PageSource pageSource, Coordinator::CountBinding currentMatch,
                         Coordinator::CountBinding totalMatches, core::NotificationCenter& center)
    : Gtk::Box(Gtk::Orientation::VERTICAL), pageSource_(std::move(pageSource)),
      coordinator_(Coordinator::create(std::move(currentMatch), std::move(totalMatches), center)) {
    coordinator_->setWebView(&page_);
    page_.onMatchUpdate(
        [coordinator = coordinator_.get()](JSCValue* body) { coordinator->receive(body); });
    gtk_widget_set_hexpand(page_.widget(), TRUE);
    gtk_widget_set_vexpand(page_.widget(), TRUE);
    gtk_box_append(gobj(), page_.widget());
}

YAMLWebView::~YAMLWebView() {
    coordinator_->detach();
    page_.onMatchUpdate(nullptr);
    gtk_box_remove(gobj(), page_.widget());
}

void YAMLWebView::update(const std::string& content, int fontSize) {
    if (content != coordinator_->lastContent()) {
        coordinator_->setLastContent(content);
        coordinator_->setLastFontSize(fontSize);
        page_.loadPage(pageSource_ ? pageSource_(content, fontSize) : std::string());
        return;
    }
    if (fontSize != coordinator_->lastFontSize()) {
        coordinator_->setLastFontSize(fontSize);
        page_.evaluate(fontSizeAssignment(fontSize));
    }
}

void YAMLWebView::forget() {
    if (coordinator_->lastContent().empty() && coordinator_->lastFontSize() == 14) {
        return;
    }
    coordinator_->setLastContent(std::string());
    coordinator_->setLastFontSize(14);
    page_.loadPage(std::string());
}

} // namespace quessel::app

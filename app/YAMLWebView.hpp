// Where the window shows the rendered document: the page web view and its coordinator.
#pragma once

#include "app/Coordinator.hpp"
#include "app/PageWebView.hpp"

#include <gtkmm/box.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quessel::app {

class YAMLWebView : public Gtk::Box {
public:
    // Makes a page from document text and a font size (page generation, with the platform's
    // appearance at the moment of the call).
    using PageSource = std::function<std::string(std::string_view content, int fontSize)>;

    YAMLWebView(PageSource pageSource, Coordinator::CountBinding currentMatch,
                Coordinator::CountBinding totalMatches,
                core::NotificationCenter& center = core::NotificationCenter::defaultCenter());
    ~YAMLWebView() override;

    // A new page only when the text differs from the text last loaded; otherwise a new font
    // size is one script assignment that keeps the page with its collapse and search state.
    // An empty text loads nothing.
    void update(const std::string& content, int fontSize);

    // Forgets the loaded text, as a host created anew would: the next update generates a page.
    void forget();

    PageWebView& pageView() noexcept { return page_; }
    Coordinator& coordinator() noexcept { return *coordinator_; }

private:
    PageSource pageSource_;
    std::shared_ptr<Coordinator> coordinator_;
    PageWebView page_;
};

} // namespace quessel::app

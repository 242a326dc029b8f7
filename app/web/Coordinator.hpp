// The web view host's companion: what was loaded last, the search notifications, the page's counts.
#pragma once

#include "page/PageTemplate.hpp"
#include "viewer_core/NotificationCenter.hpp"

#include <webkit/webkit.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quessel::app::web {

class PageWebView;

// Forwards the search bar's notifications to the page as script calls and turns the page's
// "matchUpdate" messages into the window's match counts, one main-loop turn later. It holds the
// web view weakly (the host clears it with `detach`), and its observers hold it weakly too.
class Coordinator : public std::enable_shared_from_this<Coordinator> {
public:
    using CountBinding = std::function<void(int)>;
    struct Counts {
        int current;
        int total;
    };

    // Registers the three observers with `center` before returning.
    static std::shared_ptr<Coordinator>
    create(CountBinding currentMatch, CountBinding totalMatches,
           core::NotificationCenter& center = core::NotificationCenter::defaultCenter());

    Coordinator(const Coordinator&) = delete;
    Coordinator& operator=(const Coordinator&) = delete;

    void setWebView(PageWebView* view) noexcept { webView_ = view; }
    PageWebView* webView() const noexcept { return webView_; }

    // Cuts every tie to the host: later notifications and scheduled count writes do nothing.
    void detach() noexcept;

    // highlightMatches('<text>') in the page, if there still is one.
    void performSearch(const std::string& text);

    // A "matchUpdate" body: an object whose `current` and `total` are integers; anything else
    // is dropped. Valid counts are written one main-loop turn later.
    void receive(JSCValue* body);
    static std::optional<Counts> readCounts(JSCValue* body);

    // The text of the newest page requested, which may still be being generated; shared with
    // the worker that generates it rather than copied again.
    const std::string& lastContent() const noexcept { return *lastContent_; }
    const std::shared_ptr<const std::string>& sharedLastContent() const noexcept {
        return lastContent_;
    }
    int lastFontSize() const noexcept { return lastFontSize_; }
    void setLastContent(std::shared_ptr<const std::string> content);
    void setLastFontSize(int fontSize) noexcept { lastFontSize_ = fontSize; }

private:
    Coordinator(CountBinding currentMatch, CountBinding totalMatches);
    void setupObservers(core::NotificationCenter& center);
    void evaluate(const std::string& script);

    PageWebView* webView_ = nullptr;
    std::shared_ptr<const std::string> lastContent_ = std::make_shared<const std::string>();
    int lastFontSize_ = page::defaultFontSize;
    CountBinding currentMatch_;
    CountBinding totalMatches_;
    core::ObserverToken searchObserver_;
    core::ObserverToken findNextObserver_;
    core::ObserverToken findPrevObserver_;
};

} // namespace quessel::app::web

// Page generation on worker threads, so that a large document never stalls the window.
#pragma once

#include "app/BackgroundWork.hpp"
#include "page/Appearance.hpp"
#include "page/GeneratedPage.hpp"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quessel::app::web {

// Each request is generated on a thread of its own and only the newest request's page is
// delivered, on the main thread (see BackgroundWork). Generation cannot be interrupted midway: a
// superseded request that has begun finishes unwatched and its page is dropped.
class BackgroundPageBuilder {
public:
    // Makes a page from document text, a font size and the appearance to draw it in. Runs on a
    // worker thread: it must not touch GTK, and whatever it captures must outlive the worker.
    using PageSource = std::function<page::GeneratedPage(std::string_view content, int fontSize,
                                                         page::Appearance appearance)>;
    // Receives the newest request's page, on the main thread.
    using Delivery = std::function<void(page::GeneratedPage page)>;

    BackgroundPageBuilder(PageSource source, Delivery delivery);

    // Starts generating a page; everything the page depends on is passed in, read on the main
    // thread by the caller. Supersedes any pending request.
    void request(std::shared_ptr<const std::string> content, int fontSize,
                 page::Appearance appearance);
    // Supersedes any pending request; nothing is delivered until the next one.
    void cancel() { work_.cancel(); }
    // A request whose page has not been delivered yet.
    bool pending() const noexcept { return work_.pending(); }

private:
    PageSource source_;
    BackgroundWork<page::GeneratedPage> work_;
};

} // namespace quessel::app::web

// Page generation on worker threads, so that a large document never stalls the window.
#pragma once

#include "app/page/Appearance.hpp"

#include <glib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quessel::app {

// Each request runs on a thread of its own and hands its page back to the main context of the
// thread that made the builder, in a later main-loop turn. Only the newest request's page is
// delivered: a newer request, cancel() or the builder's end supersede the older ones, whose
// workers stop before generating if they have not begun and otherwise finish unwatched and
// drop their page (generation cannot be interrupted midway). Nothing waits for a worker: each
// one owns what it reads (the text, the page source, a flag it checks), and the builder's side
// is reached only on the main thread, through a weak reference.
class BackgroundPageBuilder {
public:
    // Makes a page from document text, a font size and the appearance to draw it in. Runs on a
    // worker thread: it must not touch GTK, and whatever it captures must outlive the worker.
    using PageSource =
        std::function<std::string(std::string_view content, int fontSize, Appearance appearance)>;
    // Receives the newest request's page, on the main thread.
    using Delivery = std::function<void(std::string html)>;

    BackgroundPageBuilder(PageSource source, Delivery delivery);
    BackgroundPageBuilder(const BackgroundPageBuilder&) = delete;
    BackgroundPageBuilder& operator=(const BackgroundPageBuilder&) = delete;
    // Supersedes any pending request; returns at once.
    ~BackgroundPageBuilder();

    // Starts generating a page; everything the page depends on is passed in, read on the main
    // thread by the caller.
    void request(std::shared_ptr<const std::string> content, int fontSize, Appearance appearance);
    // Supersedes any pending request; nothing is delivered until the next one.
    void cancel();
    // A request whose page has not been delivered yet.
    bool pending() const noexcept;

    // Workers still running in this process, superseded ones included. A process that ends
    // while one runs must leave without running static destructors under it.
    static int runningWorkers() noexcept;

private:
    struct Job;
    struct Receiver;

    static void run(std::shared_ptr<Job> job);
    static void work(const std::shared_ptr<Job>& job);
    static gboolean deliver(gpointer job);
    static void release(gpointer job);

    PageSource source_;
    std::shared_ptr<Receiver> receiver_;
    std::shared_ptr<Job> current_;
};

} // namespace quessel::app

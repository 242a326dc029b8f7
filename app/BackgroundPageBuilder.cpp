// Page generation on worker threads, so that a large document never stalls the window.
#include "app/BackgroundPageBuilder.hpp"

#include <atomic>
#include <system_error>
#include <thread>

namespace quessel::app {
namespace {

std::atomic<int> runningWorkerCount{0};

struct MainContextUnref {
    void operator()(GMainContext* context) const noexcept { g_main_context_unref(context); }
};
using MainContextPtr = std::unique_ptr<GMainContext, MainContextUnref>;

} // namespace

// The main thread's side: touched only on the main thread, which also ends it.
struct BackgroundPageBuilder::Receiver {
    Delivery delivery;
    // The newest request's number; a page of any other number is stale.
    std::uint64_t generation = 0;
    bool pending = false;
};

// One request, shared by the builder (to cancel it) and its worker (to do it).
struct BackgroundPageBuilder::Job {
    std::shared_ptr<const std::string> content;
    int fontSize = 14;
    Appearance appearance = Appearance::light;
    PageSource source;
    std::uint64_t generation = 0;
    std::weak_ptr<Receiver> receiver;
    MainContextPtr mainContext;
    std::atomic<bool> cancelled{false};
    std::string html;
};

gboolean BackgroundPageBuilder::deliver(gpointer data) {
    const auto& job = *static_cast<std::shared_ptr<Job>*>(data);
    auto receiver = job->receiver.lock();
    if (receiver && !job->cancelled && job->generation == receiver->generation) {
        receiver->pending = false;
        if (receiver->delivery) {
            receiver->delivery(std::move(job->html));
        }
    }
    return G_SOURCE_REMOVE;
}

void BackgroundPageBuilder::release(gpointer data) {
    delete static_cast<std::shared_ptr<Job>*>(data);
}

void BackgroundPageBuilder::work(const std::shared_ptr<Job>& job) {
    if (!job->cancelled) {
        try {
            job->html = job->source(*job->content, job->fontSize, job->appearance);
        } catch (...) {
            // The application's generation turns every failure into a page of its own; any
            // other source that throws leaves a blank page rather than the previous document.
            job->html.clear();
        }
    }
    if (job->cancelled) {
        return;
    }
    // An idle source, never g_main_context_invoke: that may run the callback right here, on the
    // worker, whenever the main thread happens not to hold its context.
    GSource* source = g_idle_source_new();
    g_source_set_priority(source, G_PRIORITY_DEFAULT);
    g_source_set_callback(source, &BackgroundPageBuilder::deliver, new std::shared_ptr<Job>(job),
                          &BackgroundPageBuilder::release);
    g_source_attach(source, job->mainContext.get());
    g_source_unref(source);
}

void BackgroundPageBuilder::run(std::shared_ptr<Job> job) {
    work(job);
    // Let go of the text and the page source before counting out, so that nothing of the
    // worker's is still being freed when the process decides it may exit.
    job.reset();
    --runningWorkerCount;
}

BackgroundPageBuilder::BackgroundPageBuilder(PageSource source, Delivery delivery)
    : source_(std::move(source)), receiver_(std::make_shared<Receiver>()) {
    receiver_->delivery = std::move(delivery);
}

BackgroundPageBuilder::~BackgroundPageBuilder() {
    cancel();
}

void BackgroundPageBuilder::request(std::shared_ptr<const std::string> content, int fontSize,
                                    Appearance appearance) {
    cancel();
    auto job = std::make_shared<Job>();
    job->content = content ? std::move(content) : std::make_shared<const std::string>();
    job->fontSize = fontSize;
    job->appearance = appearance;
    job->source =
        source_ ? source_ : [](std::string_view, int, Appearance) { return std::string(); };
    job->generation = ++receiver_->generation;
    job->receiver = receiver_;
    job->mainContext.reset(g_main_context_ref_thread_default());
    receiver_->pending = true;
    current_ = job;
    ++runningWorkerCount;
    try {
        std::thread(&BackgroundPageBuilder::run, job).detach();
    } catch (const std::system_error&) {
        // No thread to be had: generate here rather than show nothing.
        run(std::move(job));
    }
}

void BackgroundPageBuilder::cancel() {
    if (current_) {
        current_->cancelled = true;
        current_.reset();
    }
    ++receiver_->generation;
    receiver_->pending = false;
}

bool BackgroundPageBuilder::pending() const noexcept {
    return receiver_->pending;
}

int BackgroundPageBuilder::runningWorkers() noexcept {
    return runningWorkerCount.load();
}

} // namespace quessel::app

// Work on a thread of its own whose result reaches the main thread only while it is the newest.
#include "app/BackgroundWork.hpp"

#include <system_error>
#include <thread>

namespace quessel::app {
namespace {

std::atomic<int> runningWorkerCount{0};

gboolean runCallback(gpointer data) {
    (*static_cast<std::function<void()>*>(data))();
    return G_SOURCE_REMOVE;
}

void deleteCallback(gpointer data) {
    delete static_cast<std::function<void()>*>(data);
}

} // namespace

int runningWorkers() noexcept {
    return runningWorkerCount.load();
}

namespace detail {

void runDetached(std::function<void()> body) {
    ++runningWorkerCount;
    auto counted = [body = std::move(body)]() mutable {
        body();
        body = nullptr;
        --runningWorkerCount;
    };
    try {
        std::thread(counted).detach();
    } catch (const std::system_error&) {
        // No thread to be had: do the work here rather than never.
        counted();
    }
}

void postToLoop(GMainContext* context, std::function<void()> callback) {
    // An idle source, never g_main_context_invoke: that may run the callback right away on the
    // calling thread whenever the main thread happens not to hold its context.
    GSource* source = g_idle_source_new();
    g_source_set_priority(source, G_PRIORITY_DEFAULT);
    g_source_set_callback(source, &runCallback, new std::function<void()>(std::move(callback)),
                          &deleteCallback);
    g_source_attach(source, context);
    g_source_unref(source);
}

} // namespace detail
} // namespace quessel::app

// Running the GLib main loop in widget tests until something has happened, with a time limit.
#include "tests/support/MainLoop.hpp"

#include <glib.h>

namespace quessel::testing {

namespace {

// A timer that wakes the loop every few milliseconds while it lives, so that a wait checks its
// deadline even when nothing else is pending.
class WakeUp {
public:
    WakeUp() : source_(g_timeout_source_new(10)) {
        g_source_set_callback(
            source_, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr, nullptr);
        g_source_attach(source_, nullptr);
    }
    WakeUp(const WakeUp&) = delete;
    WakeUp& operator=(const WakeUp&) = delete;
    ~WakeUp() {
        g_source_destroy(source_);
        g_source_unref(source_);
    }

private:
    GSource* source_;
};

} // namespace

bool runUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const WakeUp wakeUp;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        g_main_context_iteration(nullptr, TRUE);
    }
    return true;
}

void runFor(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    runUntil([&] { return std::chrono::steady_clock::now() >= deadline; }, duration * 2);
}

void drainPending() {
    while (g_main_context_pending(nullptr)) {
        g_main_context_iteration(nullptr, FALSE);
    }
}

} // namespace quessel::testing

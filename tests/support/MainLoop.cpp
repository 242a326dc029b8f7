// Running the GLib main loop in widget tests until something has happened, with a time limit.
#include "tests/support/MainLoop.hpp"

#include <glib.h>

namespace quessel::testing {

bool runUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        // Non-blocking with a short sleep, so that the deadline is checked while nothing is due.
        if (!g_main_context_iteration(nullptr, false))
            g_usleep(2000);
    }
    return true;
}

void runFor(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    runUntil([&] { return std::chrono::steady_clock::now() >= deadline; }, duration * 2);
    drainPending();
}

void drainPending() {
    while (g_main_context_pending(nullptr))
        g_main_context_iteration(nullptr, false);
}

} // namespace quessel::testing

// Main-loop helpers for display tests: run pending GTK work until a condition holds.
#include "tests/support/MainLoop.hpp"

#include <glib.h>

namespace quessel::test {

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        // Non-blocking with a short sleep so that timeouts and file monitors get their turn.
        if (!g_main_context_iteration(nullptr, false))
            g_usleep(2000);
    }
    return true;
}

void pumpFor(std::chrono::milliseconds duration) {
    pumpUntil([] { return false; }, duration);
    while (g_main_context_iteration(nullptr, false)) {
    }
}

} // namespace quessel::test

// Running the GLib main loop in widget tests until something has happened, with a time limit.
#pragma once

#include <chrono>
#include <functional>

namespace quessel::testing {

// Iterates the default main context until `condition` holds or `timeout` passes; returns
// whether it held. Asynchronous work (idle callbacks, web engine replies) completes meanwhile.
bool runUntil(const std::function<bool()>& condition,
              std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Iterates the default main context for the given time, for checking that nothing happens.
void runFor(std::chrono::milliseconds duration);

// Runs every callback that is ready now, idle ones included.
void drainPending();

} // namespace quessel::testing

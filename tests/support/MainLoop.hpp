// Main-loop helpers for display tests: run pending GTK work until a condition holds.
#pragma once

#include <chrono>
#include <functional>

namespace quessel::test {

// Iterates the default main context until `done` answers true or `timeout` passes; answers
// whether `done` became true.
bool pumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Lets every pending idle and event run, and timers due within `duration`.
void pumpFor(std::chrono::milliseconds duration);

} // namespace quessel::test

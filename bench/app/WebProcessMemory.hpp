// The memory of the web engine's content process, which holds the page, from /proc.
#pragma once

#include <cstddef>
#include <optional>
#include <sys/types.h>

namespace quessel::bench {

struct ProcessMemory {
    std::size_t peakBytes = 0;     // VmHWM: the resident high-water mark
    std::size_t residentBytes = 0; // VmRSS
};

// The most recently started WebKitWebProcess child of this process: each web view of the
// benchmark is created after the previous one's process is gone or reset.
std::optional<pid_t> newestWebProcess();

std::optional<ProcessMemory> processMemory(pid_t pid);

// Waits up to two seconds for the process to end; when it lingers (kept for reuse), resets its
// high-water mark so that the next page's peak is its own.
void retireWebProcess(pid_t pid);

} // namespace quessel::bench

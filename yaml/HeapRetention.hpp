// How much memory freed by one load the C library keeps for the next, instead of handing it
// back to the system.
#pragma once

#include <cstddef>

namespace quessel::yaml {

// A load of a document of megabytes writes tens of megabytes of values, and the viewer loads
// again for every edit and every file opened. Left to its defaults, glibc returns a freed value
// tree's memory to the system as soon as the top of its heap is free (past 128 KiB, or twice the
// largest block it has mapped on its own), so each next load pays a page fault for every 4 KiB
// it writes: some 12,000 faults, 35 ms on a virtual machine, for a 10 MB document, a sixth of
// what libyaml takes to parse it. Up to keptBytes of free memory at the top of a heap are kept
// instead, and blocks below mappedBlockBytes (glibc's own ceiling for that threshold) come from
// the heap, where they can be reused, rather than from mappings of their own that are unmapped
// when freed. A load's peak is unchanged, since kept memory is what the next allocations take
// first; what stays resident once documents are closed grows by up to keptBytes for each heap
// the loads used (the worker threads' heap, in the viewer).
class HeapRetention {
public:
    static constexpr std::size_t keptBytes = std::size_t{64} << 20;
    static constexpr std::size_t mappedBlockBytes = std::size_t{32} << 20;

    // Applies the settings to the process's allocator, once, on the first call; every parser
    // calls it, so every load runs under them. Does nothing where the C library is not glibc.
    static void ensure();
};

} // namespace quessel::yaml

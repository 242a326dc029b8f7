// How much memory freed by one load the C library keeps for the next, instead of handing it
// back to the system.
#include "yaml/HeapRetention.hpp"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quessel::yaml {
namespace {

bool apply() {
#if defined(__GLIBC__)
    // Any of these settings also stops glibc from moving its thresholds on its own, so all three
    // are set. The pad is what a trim leaves at the top of a heap: a heap freed of more than
    // keptBytes still keeps keptBytes.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(HeapRetention::mappedBlockBytes));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(HeapRetention::keptBytes));
    mallopt(M_TOP_PAD, static_cast<int>(HeapRetention::keptBytes));
#endif
    return true;
}

} // namespace

void HeapRetention::ensure() {
    // A function-local static: applied once, thread-safely, by the first parser of the process.
    [[maybe_unused]] static const bool applied = apply();
}

} // namespace quessel::yaml

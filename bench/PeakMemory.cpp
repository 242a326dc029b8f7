// Peak resident memory of this process around a piece of work, from /proc.
#include "bench/PeakMemory.hpp"

#include <fstream>
#include <malloc.h>
#include <string>

namespace quessel::bench {
namespace {

std::size_t statusField(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(name + ":")) {
            return std::stoull(line.substr(name.size() + 1)) * 1024; // the kernel writes kB
        }
    }
    return 0;
}

} // namespace

PeakMemory::PeakMemory() {
    malloc_trim(0);
    // Writing 5 to clear_refs resets the peak resident set size (VmHWM) to the current one.
    std::ofstream("/proc/self/clear_refs") << "5";
    start_ = residentBytes();
}

std::size_t PeakMemory::rise() const {
    const std::size_t peak = highWaterBytes();
    return peak > start_ ? peak - start_ : 0;
}

std::size_t PeakMemory::residentBytes() {
    return statusField("VmRSS");
}

std::size_t PeakMemory::highWaterBytes() {
    return statusField("VmHWM");
}

} // namespace quessel::bench

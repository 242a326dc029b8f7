// Peak resident memory of this process around a piece of work, from /proc.
#pragma once

#include <cstddef>

namespace quessel::bench {

// Measures how far resident memory rises above its level at construction: freed heap memory is
// handed back to the system and the kernel's high-water mark reset first, so that earlier work
// in the process does not hide the rise.
class PeakMemory {
public:
    PeakMemory();
    // Bytes of resident memory above the starting level at the highest point since then.
    std::size_t rise() const;

    static std::size_t residentBytes();
    static std::size_t highWaterBytes();

private:
    std::size_t start_;
};

} // namespace quessel::bench

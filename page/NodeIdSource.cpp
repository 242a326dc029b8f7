// The random prefixes that tie a collapse toggle, its preview and its content together.
#include "page/NodeIdSource.hpp"

#include <random>

namespace quessel::page {

NodeIdSource& NodeIdSource::forThisThread() {
    thread_local NodeIdSource source = [] {
        std::random_device device;
        const std::uint64_t high = device();
        return NodeIdSource((high << 32U) ^ device());
    }();
    return source;
}

// SplitMix64: a full-period 64-bit generator whose output passes the usual statistical tests;
// ids only need to differ with high probability, not to be unpredictable.
std::uint32_t NodeIdSource::next32() {
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>((z ^ (z >> 31U)) >> 32U);
}

void NodeIdSource::appendPrefix(std::string& out) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::uint32_t bits = next32();
    char text[8];
    for (int i = 7; i >= 0; --i) {
        text[i] = digits[bits & 0xFU];
        bits >>= 4U;
    }
    out.append(text, sizeof text);
}

} // namespace quessel::page

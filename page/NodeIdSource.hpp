// The random prefixes that tie a collapse toggle, its preview and its content together.
#pragma once

#include <cstdint>
#include <string>

namespace quessel::page {

// Makes 8 upper-case hexadecimal digits per rendered collection: 32 random bits, the same
// form and spread as the first 8 characters of a random version-4 UUID, at a fraction of the
// cost (a 10 MB document has hundreds of thousands of collections).
class NodeIdSource {
public:
    explicit NodeIdSource(std::uint64_t seed) : state_(seed) {}

    // The generator of the calling thread, seeded once from std::random_device.
    static NodeIdSource& forThisThread();

    // Appends a fresh prefix.
    void appendPrefix(std::string& out);

private:
    std::uint32_t next32();

    std::uint64_t state_;
};

} // namespace quessel::page

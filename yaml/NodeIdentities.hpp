// Structural identities of a load's nodes, so that keys compare and hash in constant time
// however many aliases they repeat.
#pragma once

#include "yaml/NodeData.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace quessel::yaml {

// Two nodes of one load have the same identity exactly when they are equal as keys (same kind,
// canonically equal texts or equal children in order, equal resolved tag names). An identity
// is computed once per node record, bottom-up and without recursion; nodes shared through
// aliases are visited once, so a key that repeats an alias a billion times costs what its text
// costs.
class NodeIdentities {
public:
    // Resolves the tags of the node and everything below it.
    std::uint32_t of(detail::NodeData* node);
    // A hash of the node's structure (equal for equal nodes of different loads too).
    std::size_t hash(std::uint32_t identity) const { return hashes_[identity - 1]; }

private:
    std::uint32_t scalarIdentity(detail::NodeData* node);
    std::uint32_t collectionIdentity(detail::NodeData* node);
    std::uint32_t intern(std::string key, std::size_t hash);

    std::unordered_map<std::string, std::uint32_t> identities_;
    std::vector<std::size_t> hashes_;
    struct Frame {
        detail::NodeData* node;
        std::uint32_t next;
    };
    std::vector<Frame> stack_;
};

// The hash of a scalar as a key: kind, canonical text, resolved tag name.
std::size_t scalarKeyHash(std::string_view text, std::string_view tagName);

// Mixes one more value into a hash.
inline std::size_t combineHash(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9E3779B97F4A7C15ULL + (seed << 6) + (seed >> 2));
}

} // namespace quessel::yaml

// The duplicate-key check of composition: a mapping whose keys repeat (as nodes: same kind,
// canonically equal text or equal children, same resolved tag) is refused with a report.
#pragma once

#include "yaml/Node.hpp"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quessel::yaml {

class DuplicateKeys {
public:
    // Throws a duplicatedKeysInMapping YamlError naming every repeated key with its
    // occurrences, sorted by node order. Otherwise gives the NodeFlag bits
    // construction needs: mergesKeys when a key is `<<` or `=`, keysMayRepeat when two keys may
    // still give the same key text (same text under different tags, or a collection key).
    // Keys are hashed once each; the scratch table is kept between mappings. A key's tag is
    // resolved when it is compared with an equal text, or when it may be `<<` or `=`.
    std::uint8_t check(std::span<const NodePair> pairs, std::string_view yaml);

private:
    struct KeyFacts {
        std::size_t hash;
        std::uint32_t group; // the first occurrence of an equal key
    };

    std::uint8_t describe(std::span<const NodePair> pairs);
    bool compare(const NodePair* pairs, std::size_t earlier, std::size_t later,
                 std::uint8_t& flags);
    bool findEarlier(const NodePair* pairs, std::size_t index, std::uint8_t& flags);
    [[noreturn]] void report(std::span<const NodePair> pairs, std::string_view yaml) const;

    std::vector<KeyFacts> keys_;
    std::vector<std::uint32_t> slots_; // open addressing over key indices + 1
    bool repeated_ = false;
};

} // namespace quessel::yaml

// A composed YAML node: scalar, mapping, sequence or alias, with its tag, style, mark and anchor.
#pragma once

#include "yaml/Anchor.hpp"
#include "yaml/Mark.hpp"
#include "yaml/NodeData.hpp"
#include "yaml/NodeStyle.hpp"
#include "yaml/Tag.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quessel::yaml {

class Resolver;

// A node is a small value that refers to storage in the arena of the load that composed it, and
// stays valid as long as that arena (the Parser) does. Copies share everything, the Tag
// included; nothing but the tag changes after composition, so sharing is indistinguishable from
// copying. A node that stands where an alias was written knows the alias's mark as well.
class Node {
public:
    enum class Kind : std::uint8_t { scalar = 0, mapping = 1, sequence = 2, alias = 3 };

    explicit Node(detail::NodeData* data) noexcept
        : bits_(reinterpret_cast<std::uintptr_t>(data)) {}
    explicit Node(detail::AliasOccurrence* occurrence) noexcept
        : bits_(reinterpret_cast<std::uintptr_t>(occurrence) | 1U) {}

    Kind kind() const noexcept { return static_cast<Kind>(data()->kind); }
    // The tag, resolved in place on first access (every node sharing it sees the final name).
    Tag tag() const;
    // The tag's current name, without resolving it.
    std::string_view rawTagName() const;
    std::optional<Mark> mark() const;
    const Anchor* anchor() const;

    // Scalars: the text (may hold NUL) and style.
    std::string_view string() const noexcept { return data()->text(); }
    ScalarStyle scalarStyle() const noexcept { return static_cast<ScalarStyle>(data()->style); }
    // The resolved name of a scalar's tag, computed without storing it: an explicit name as it
    // is, otherwise the first matching rule of `resolver`, or the string tag.
    std::string_view resolveTag(const Resolver& resolver) const;

    // Mappings and sequences: style and children in source order (empty for other kinds).
    CollectionStyle collectionStyle() const noexcept {
        return static_cast<CollectionStyle>(data()->style);
    }
    std::span<const NodePair> pairs() const noexcept;
    std::span<const Node> nodes() const noexcept;

    // A mapping's pairs with merge keys expanded (merged pairs first, then its own pairs), one
    // pair per key text (see MergeFlattening.hpp). Throws YamlError when the expansion exceeds
    // the alias limit.
    std::vector<NodePair> flatten() const;

    // Where the alias stood when this node replaced one, else none.
    std::optional<Mark> aliasMark() const;
    bool isAliasOccurrence() const noexcept { return (bits_ & 1U) != 0; }

    // Equality and hashing for duplicate keys: same kind, canonically equal texts (scalars) or
    // equal children in order, and equal resolved tag names. Resolves the tags involved.
    friend bool operator==(const Node& a, const Node& b);
    std::size_t hash() const;
    // A total order that extends node order: texts by scalar values of their canonical forms,
    // collections lexicographically; kinds (unordered among each other for YAML) rank scalar,
    // mapping, sequence, alias, and equal texts rank by tag name.
    friend bool operator<(const Node& a, const Node& b);

    detail::NodeData* data() const noexcept {
        if ((bits_ & 1U) != 0) {
            return reinterpret_cast<detail::AliasOccurrence*>(bits_ & ~std::uintptr_t{1})->target;
        }
        return reinterpret_cast<detail::NodeData*>(bits_);
    }
    const detail::AliasOccurrence* occurrence() const noexcept {
        return (bits_ & 1U) != 0
                   ? reinterpret_cast<const detail::AliasOccurrence*>(bits_ & ~std::uintptr_t{1})
                   : nullptr;
    }

private:
    std::uintptr_t bits_;
};

struct NodePair {
    Node key;
    Node value;
};

} // namespace quessel::yaml

template <>
struct std::hash<quessel::yaml::Node> {
    std::size_t operator()(const quessel::yaml::Node& node) const { return node.hash(); }
};

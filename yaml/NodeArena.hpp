// The storage of one load's node tree: nodes, their texts and children, tag names and anchors,
// allocated in large blocks and released at once.
#pragma once

#include "yaml/Anchor.hpp"
#include "yaml/Mark.hpp"
#include "yaml/NodeData.hpp"
#include "yaml/NodeStyle.hpp"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quessel::yaml {

class Constructor;
class Node;
class Resolver;
struct NodePair;
class NodeIdentities;

// Nodes hold no resources of their own, so a tree of any depth is released without recursion,
// in one pass over the blocks. Marks are kept in 32 bits: the parser refuses texts of 4 GiB or
// more, which is what makes that safe.
class NodeArena {
public:
    NodeArena(const Resolver& resolver, const Constructor& constructor, std::string_view source);
    ~NodeArena();
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    const Resolver& resolver() const { return resolver_; }
    // Whether the resolver is the standard one, whose rules some shortcuts rely on.
    bool standardRules() const { return standardRules_; }
    const Constructor& constructor() const { return constructor_; }
    // The text the nodes were composed from, for the snippets of errors found later.
    std::string_view source() const { return source_; }

    detail::NodeData* newScalar(std::string_view text, std::uint32_t tagName, ScalarStyle style,
                                std::optional<Mark> mark);
    detail::NodeData* newSequence(std::span<const Node> nodes, std::uint32_t tagName,
                                  CollectionStyle style, std::optional<Mark> mark);
    // Keys and values alternate: key, value, key, value.
    detail::NodeData* newMapping(std::span<const Node> keysAndValues, std::uint32_t tagName,
                                 CollectionStyle style, std::optional<Mark> mark);
    detail::AliasOccurrence* newAliasOccurrence(detail::NodeData* target, Mark mark);

    // Anchors are owned here, in registration order, so that nodes may point at them.
    const Anchor& addAnchor(std::string name);
    void setAnchor(detail::NodeData* node, const Anchor& anchor);
    const Anchor* anchorOf(const detail::NodeData* node) const;
    const std::deque<Anchor>& anchors() const { return anchors_; }

    std::uint32_t internTagName(std::string_view name);
    std::string_view tagName(std::uint32_t index) const { return tagNames_[index]; }
    // The resolver's tag for a plain untagged scalar's text, as an interned index.
    std::uint32_t resolveScalarTag(std::string_view text);

    // How many nodes the text composes: every node, and every alias occurrence.
    std::size_t nodeCount() const { return nodeCount_; }
    NodeIdentities& identities();

private:
    void* allocate(std::size_t bytes);
    detail::NodeData* newNode(std::uint8_t kind, std::uint32_t tagName, std::uint8_t style,
                              std::optional<Mark> mark);

    const Resolver& resolver_;
    bool standardRules_;
    const Constructor& constructor_;
    std::string_view source_;

    struct Block {
        std::unique_ptr<std::byte[]> bytes;
        std::size_t size;
    };
    // The largest blocks come from BlockReserve and go back to it.
    std::vector<Block> blocks_;
    std::byte* next_ = nullptr;
    std::size_t remaining_ = 0;
    std::size_t blockSize_;
    std::size_t nodeCount_ = 0;

    std::vector<std::string_view> tagNames_;
    std::unordered_map<std::string_view, std::uint32_t> tagIndex_;
    struct ResolvedName {
        const char* data;
        std::size_t size;
        std::uint32_t index;
    };
    std::vector<ResolvedName> resolvedNames_;

    std::deque<Anchor> anchors_;
    std::unordered_map<const detail::NodeData*, const Anchor*> anchorOf_;
    std::unique_ptr<NodeIdentities> identities_;
};

} // namespace quessel::yaml

// The storage of one load's node tree: nodes, their texts and children, tag names and anchors,
// allocated in large blocks and released at once.
#include "yaml/NodeArena.hpp"

#include "yaml/BlockReserve.hpp"
#include "yaml/Node.hpp"
#include "yaml/NodeIdentities.hpp"
#include "yaml/Resolver.hpp"
#include "yaml/ScalarMatchers.hpp"
#include "yaml/TagName.hpp"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace quessel::yaml {
namespace {

constexpr std::size_t firstBlockSize = 16 * 1024;
constexpr std::size_t largestBlockSize = BlockReserve::blockSize;
// Everything kept here is pointers, 32-bit fields and bytes: rounding each record up to the
// alignment of the largest scalar type instead would add a fifth to every node.
constexpr std::size_t alignment = alignof(detail::NodeData);

constexpr std::string_view wellKnownNames[] = {
    TagName::implicit,  TagName::nonSpecific, TagName::str,   TagName::boolean,
    TagName::integer,   TagName::floating,    TagName::null,  TagName::binary,
    TagName::timestamp, TagName::map,         TagName::set,   TagName::seq,
    TagName::omap,      TagName::pairs,       TagName::merge, TagName::value,
};
static_assert(std::size(wellKnownNames) == detail::wellKnownTagCount);

// The standard rules' answer as an interned index: every name they give is a known one.
std::uint32_t standardTag(PlainScalarType type) {
    switch (type) {
    case PlainScalarType::boolean:
        return detail::boolTag;
    case PlainScalarType::integer:
        return detail::intTag;
    case PlainScalarType::floating:
        return detail::floatTag;
    case PlainScalarType::merge:
        return detail::mergeTag;
    case PlainScalarType::null:
        return detail::nullTag;
    case PlainScalarType::timestamp:
        return detail::timestampTag;
    case PlainScalarType::value:
        return detail::valueTag;
    case PlainScalarType::str:
        break;
    }
    return detail::strTag;
}

std::uint32_t narrow(std::int64_t value) {
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, UINT32_MAX));
}

} // namespace

NodeArena::NodeArena(const Resolver& resolver, const Constructor& constructor,
                     std::string_view source)
    : resolver_(resolver), standardRules_(&resolver == &Resolver::standard()),
      constructor_(constructor), source_(source), blockSize_(firstBlockSize) {
    tagNames_.reserve(detail::wellKnownTagCount);
    for (std::string_view name : wellKnownNames) {
        tagIndex_.emplace(name, static_cast<std::uint32_t>(tagNames_.size()));
        tagNames_.push_back(name);
    }
}

static_assert(alignof(Node) <= alignment && alignof(NodePair) <= alignment &&
              alignof(detail::AliasOccurrence) <= alignment);

NodeArena::~NodeArena() {
    for (Block& block : blocks_) {
        if (block.size == largestBlockSize) {
            BlockReserve::shared().give(std::move(block.bytes));
        }
    }
}

void* NodeArena::allocate(std::size_t bytes) {
    bytes = (bytes + alignment - 1) & ~(alignment - 1);
    if (bytes > remaining_) {
        // Blocks grow with the document, so small documents stay small and large ones make few
        // allocations; an oversized request gets a block of its own.
        const std::size_t size = std::max(bytes, blockSize_);
        blocks_.push_back({size == largestBlockSize
                               ? BlockReserve::shared().take()
                               : std::make_unique_for_overwrite<std::byte[]>(size),
                           size});
        next_ = blocks_.back().bytes.get();
        remaining_ = size;
        blockSize_ = std::min(blockSize_ * 2, largestBlockSize);
    }
    void* result = next_;
    next_ += bytes;
    remaining_ -= bytes;
    return result;
}

detail::NodeData* NodeArena::newNode(std::uint8_t kind, std::uint32_t tagName, std::uint8_t style,
                                     std::optional<Mark> mark) {
    auto* node = static_cast<detail::NodeData*>(allocate(sizeof(detail::NodeData)));
    node->arena = this;
    node->payload.text = nullptr;
    node->size = 0;
    node->tagName = tagName;
    node->line = mark ? narrow(mark->line) : 0;
    node->column = mark ? narrow(mark->column) : 0;
    node->identity = 0;
    node->kind = kind;
    node->style = style;
    node->flags = 0;
    ++nodeCount_;
    return node;
}

detail::NodeData* NodeArena::newScalar(std::string_view text, std::uint32_t tagName,
                                       ScalarStyle style, std::optional<Mark> mark) {
    detail::NodeData* node = newNode(static_cast<std::uint8_t>(Node::Kind::scalar), tagName,
                                     static_cast<std::uint8_t>(style), mark);
    node->size = static_cast<std::uint32_t>(text.size());
    if (text.size() <= sizeof(node->payload.inlineText)) {
        // Most keys and many values are short: keeping them in the record saves a block
        // allocation and a cache miss each.
        std::memcpy(node->payload.inlineText, text.data(), text.size());
        node->flags |= detail::inlineText;
    } else {
        char* copy = static_cast<char*>(allocate(text.size()));
        std::memcpy(copy, text.data(), text.size());
        node->payload.text = copy;
    }
    return node;
}

detail::NodeData* NodeArena::newSequence(std::span<const Node> nodes, std::uint32_t tagName,
                                         CollectionStyle style, std::optional<Mark> mark) {
    detail::NodeData* node = newNode(static_cast<std::uint8_t>(Node::Kind::sequence), tagName,
                                     static_cast<std::uint8_t>(style), mark);
    node->size = static_cast<std::uint32_t>(nodes.size());
    if (!nodes.empty()) {
        void* copy = allocate(nodes.size_bytes());
        std::memcpy(copy, nodes.data(), nodes.size_bytes());
        node->payload.nodes = static_cast<const Node*>(copy);
    }
    return node;
}

detail::NodeData* NodeArena::newMapping(std::span<const Node> keysAndValues, std::uint32_t tagName,
                                        CollectionStyle style, std::optional<Mark> mark) {
    static_assert(sizeof(NodePair) == 2 * sizeof(Node) && std::is_trivially_copyable_v<NodePair>);
    detail::NodeData* node = newNode(static_cast<std::uint8_t>(Node::Kind::mapping), tagName,
                                     static_cast<std::uint8_t>(style), mark);
    node->size = static_cast<std::uint32_t>(keysAndValues.size() / 2);
    if (!keysAndValues.empty()) {
        // Copying the bytes creates the pairs: NodePair is two nodes, trivially copyable.
        void* copy = allocate(keysAndValues.size_bytes());
        std::memcpy(copy, keysAndValues.data(), keysAndValues.size_bytes());
        node->payload.pairs = static_cast<const NodePair*>(copy);
    }
    return node;
}

detail::AliasOccurrence* NodeArena::newAliasOccurrence(detail::NodeData* target, Mark mark) {
    auto* occurrence =
        static_cast<detail::AliasOccurrence*>(allocate(sizeof(detail::AliasOccurrence)));
    ++nodeCount_;
    occurrence->target = target;
    occurrence->line = narrow(mark.line);
    occurrence->column = narrow(mark.column);
    return occurrence;
}

const Anchor& NodeArena::addAnchor(std::string name) {
    return anchors_.emplace_back(Anchor{std::move(name)});
}

void NodeArena::setAnchor(detail::NodeData* node, const Anchor& anchor) {
    node->flags |= detail::anchored;
    anchorOf_[node] = &anchor;
}

const Anchor* NodeArena::anchorOf(const detail::NodeData* node) const {
    if ((node->flags & detail::anchored) == 0) {
        return nullptr;
    }
    const auto found = anchorOf_.find(node);
    return found == anchorOf_.end() ? nullptr : found->second;
}

std::uint32_t NodeArena::internTagName(std::string_view name) {
    if (const auto found = tagIndex_.find(name); found != tagIndex_.end()) {
        return found->second;
    }
    char* copy = static_cast<char*>(allocate(std::max<std::size_t>(name.size(), 1)));
    std::memcpy(copy, name.data(), name.size());
    const std::string_view stored(copy, name.size());
    const auto index = static_cast<std::uint32_t>(tagNames_.size());
    tagNames_.push_back(stored);
    tagIndex_.emplace(stored, index);
    return index;
}

std::uint32_t NodeArena::resolveScalarTag(std::string_view text) {
    if (standardRules_) {
        return standardTag(classifyPlainScalarType(text));
    }
    const std::string_view name = resolver_.resolve(text);
    // The resolver answers with views of its own rule names: remembering them by address turns
    // the per-scalar lookup into a pointer comparison.
    for (const ResolvedName& known : resolvedNames_) {
        if (known.data == name.data() && known.size == name.size()) {
            return known.index;
        }
    }
    const std::uint32_t index = internTagName(name);
    if (resolvedNames_.size() < 32) {
        resolvedNames_.push_back({name.data(), name.size(), index});
    }
    return index;
}

NodeIdentities& NodeArena::identities() {
    if (!identities_) {
        identities_ = std::make_unique<NodeIdentities>();
    }
    return *identities_;
}

} // namespace quessel::yaml

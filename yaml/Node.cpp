// A composed YAML node: scalar, mapping, sequence or alias, with its tag, style, mark and anchor.
#include "yaml/Node.hpp"

#include "yaml/CanonicalText.hpp"
#include "yaml/MergeFlattening.hpp"
#include "yaml/NodeArena.hpp"
#include "yaml/NodeIdentities.hpp"
#include "yaml/Resolver.hpp"
#include "yaml/TagName.hpp"

#include <vector>

namespace quessel::yaml {
namespace detail {

std::uint32_t resolveTag(NodeData& node) {
    const std::uint32_t name = node.tagName;
    if (name != implicitTag && name != nonSpecificTag) {
        return name;
    }
    switch (static_cast<Node::Kind>(node.kind)) {
    case Node::Kind::scalar:
        node.tagName = name == implicitTag ? node.arena->resolveScalarTag(node.text()) : strTag;
        break;
    case Node::Kind::mapping:
        node.tagName = mapTag;
        break;
    case Node::Kind::sequence:
        node.tagName = seqTag;
        break;
    case Node::Kind::alias:
        node.tagName = implicitTag;
        break;
    }
    return node.tagName;
}

std::uint32_t tagIfMergeOrValue(NodeData& node) {
    if (node.tagName == implicitTag && node.kind == static_cast<std::uint8_t>(Node::Kind::scalar) &&
        node.arena->standardRules()) {
        const std::string_view text = node.text();
        if (text != "<<" && text != "=") {
            return implicitTag;
        }
    }
    return resolveTag(node);
}

} // namespace detail

namespace {

std::optional<Mark> markOf(std::uint32_t line, std::uint32_t column) {
    if (line == 0) {
        return std::nullopt;
    }
    return Mark{line, column};
}

int kindRank(const Node& node) {
    return static_cast<int>(node.kind());
}

bool isCollection(const Node& node) {
    return node.kind() == Node::Kind::mapping || node.kind() == Node::Kind::sequence;
}

std::size_t childCount(const Node& node) {
    return node.kind() == Node::Kind::mapping ? 2 * node.pairs().size() : node.nodes().size();
}

Node childAt(const Node& node, std::size_t index) {
    if (node.kind() == Node::Kind::mapping) {
        const NodePair& pair = node.pairs()[index / 2];
        return index % 2 == 0 ? pair.key : pair.value;
    }
    return node.nodes()[index];
}

bool scalarsEqual(const Node& a, const Node& b) {
    return canonicallyEqual(a.string(), b.string()) && a.tag().name() == b.tag().name();
}

// Nodes of two different loads share no identities: compare them walk by walk.
bool structurallyEqual(const Node& a, const Node& b) {
    std::vector<std::pair<Node, Node>> pending{{a, b}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (x.kind() != y.kind()) {
            return false;
        }
        if (x.kind() == Node::Kind::scalar) {
            if (!scalarsEqual(x, y)) {
                return false;
            }
            continue;
        }
        if (x.tag().name() != y.tag().name() || childCount(x) != childCount(y)) {
            return false;
        }
        for (std::size_t i = 0; i < childCount(x); ++i) {
            pending.emplace_back(childAt(x, i), childAt(y, i));
        }
    }
    return true;
}

} // namespace

Tag Node::tag() const {
    detail::resolveTag(*data());
    return Tag(data());
}

std::string_view Node::rawTagName() const {
    return data()->arena->tagName(data()->tagName);
}

std::optional<Mark> Node::mark() const {
    return markOf(data()->line, data()->column);
}

const Anchor* Node::anchor() const {
    return data()->arena->anchorOf(data());
}

std::string_view Node::resolveTag(const Resolver& resolver) const {
    const std::string_view name = rawTagName();
    return name.empty() ? resolver.resolve(string()) : name;
}

std::span<const NodePair> Node::pairs() const noexcept {
    const detail::NodeData* node = data();
    if (node->kind != static_cast<std::uint8_t>(Kind::mapping) || node->size == 0) {
        return {};
    }
    return {node->payload.pairs, node->size};
}

std::span<const Node> Node::nodes() const noexcept {
    const detail::NodeData* node = data();
    if (node->kind != static_cast<std::uint8_t>(Kind::sequence) || node->size == 0) {
        return {};
    }
    return {node->payload.nodes, node->size};
}

std::vector<NodePair> Node::flatten() const {
    return flattenPairs(*this);
}

std::optional<Mark> Node::aliasMark() const {
    const detail::AliasOccurrence* alias = occurrence();
    return alias == nullptr ? std::nullopt : markOf(alias->line, alias->column);
}

bool operator==(const Node& a, const Node& b) {
    detail::NodeData* x = a.data();
    detail::NodeData* y = b.data();
    if (x == y) {
        return true;
    }
    if (x->kind != y->kind) {
        return false;
    }
    if (a.kind() == Node::Kind::scalar) {
        return scalarsEqual(a, b);
    }
    if (!isCollection(a)) {
        return false;
    }
    if (x->arena != y->arena) {
        return structurallyEqual(a, b);
    }
    NodeIdentities& identities = x->arena->identities();
    return identities.of(x) == identities.of(y);
}

std::size_t Node::hash() const {
    detail::NodeData* node = data();
    switch (kind()) {
    case Kind::scalar:
        return scalarKeyHash(string(), tag().name());
    case Kind::mapping:
    case Kind::sequence: {
        NodeIdentities& identities = node->arena->identities();
        return identities.hash(identities.of(node));
    }
    case Kind::alias:
        break;
    }
    return combineHash(3, std::hash<std::string_view>{}(tag().name()));
}

bool operator<(const Node& a, const Node& b) {
    // Equal children are skipped by identity, so the walk follows one path down: its cost is
    // depth times width, not the size of what the aliases expand to.
    Node x = a;
    Node y = b;
    for (;;) {
        if (x.kind() != y.kind()) {
            return kindRank(x) < kindRank(y);
        }
        if (x.kind() == Node::Kind::scalar) {
            if (const int order = compareCanonically(x.string(), y.string()); order != 0) {
                return order < 0;
            }
            return x.tag().name() < y.tag().name();
        }
        if (!isCollection(x) || x == y) {
            return false;
        }
        const std::size_t count = std::min(childCount(x), childCount(y));
        std::size_t i = 0;
        while (i < count && childAt(x, i) == childAt(y, i)) {
            ++i;
        }
        if (i == count) {
            if (childCount(x) != childCount(y)) {
                return childCount(x) < childCount(y);
            }
            return x.tag().name() < y.tag().name();
        }
        const Node nextX = childAt(x, i);
        const Node nextY = childAt(y, i);
        x = nextX;
        y = nextY;
    }
}

std::string_view Tag::name() const {
    return node_->arena->tagName(node_->tagName);
}

void Tag::setName(std::string_view name) const {
    node_->tagName = node_->arena->internTagName(name);
}

const Resolver& Tag::resolver() const {
    return node_->arena->resolver();
}

const Constructor& Tag::constructor() const {
    return node_->arena->constructor();
}

} // namespace quessel::yaml

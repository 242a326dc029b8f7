// A node's tag: its name, and the resolver and constructor of the load it belongs to.
#pragma once

#include <string_view>

namespace quessel::yaml {

class Constructor;
class Resolver;

namespace detail {
struct NodeData;
}

// The tag object of one node, shared by every node that stands for the same anchored node.
// Resolution replaces the name in place, once; Tag is a handle to that shared state.
class Tag {
public:
    explicit Tag(detail::NodeData* node) noexcept : node_(node) {}

    std::string_view name() const;
    // Names are interned in the load's arena, so the view needs no lifetime of its own.
    void setName(std::string_view name) const;
    const Resolver& resolver() const;
    const Constructor& constructor() const;

    // The same shared tag object.
    friend bool operator==(const Tag& a, const Tag& b) { return a.node_ == b.node_; }

private:
    detail::NodeData* node_;
};

} // namespace quessel::yaml

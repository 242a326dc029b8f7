// Composition: libyaml's events of one document turned into a node tree, with anchors,
// aliases, the depth limit and the duplicate-key check.
#pragma once

#include "yaml/DuplicateKeys.hpp"
#include "yaml/Node.hpp"

#include <yaml.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quessel::yaml {

class NodeArena;
class Parser;

class Composer {
public:
    Composer(Parser& parser, NodeArena& arena);

    // Composes the node whose events come next and reads the document end after it. Events are
    // handled one at a time with a stack of open collections, so nesting costs no recursion.
    Node loadDocument();
    // A new document starts: aliases may no longer name the nodes of the ones before.
    void forgetAnchors() { anchorMap_.clear(); }

private:
    struct Open {
        Node::Kind kind;
        std::uint32_t tagName;
        std::uint8_t style;
        Mark mark;
        std::size_t firstChild; // in pending_
        std::string anchor;
        bool anchored;
    };

    Node loadScalar(const yaml_event_t& event);
    Node loadAlias(const yaml_event_t& event);
    void openCollection(const yaml_event_t& event, Node::Kind kind);
    Node closeCollection();
    void registerAnchor(const std::string& name, detail::NodeData* node);

    Parser& parser_;
    NodeArena& arena_;
    std::vector<Open> open_;
    std::vector<Node> pending_; // children of the open collections, innermost last
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const noexcept {
            return std::hash<std::string_view>{}(name);
        }
    };
    std::unordered_map<std::string, Node, NameHash, std::equal_to<>> anchorMap_;
    DuplicateKeys duplicates_;
};

} // namespace quessel::yaml

// Finds a node of the value tree in the source text: where its row's key is written, and the
// text that copying its value gives.
#pragma once

#include "yaml/Constructor.hpp"
#include "yaml/Mark.hpp"
#include "yaml/Node.hpp"
#include "yaml/NodePath.hpp"
#include "yaml/Parser.hpp"
#include "yaml/Resolver.hpp"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quessel::yaml {

class CollectionSpans;
class MarkOffsets;

struct LocatedNode {
    // Where the row's key starts: a mapping key (a merged one in the mapping that merges it in),
    // a block sequence element's dash (a flow sequence element's node), a document's first
    // node. Lines from 1, columns in Unicode scalars from 1, as Mark counts.
    Mark label;
    // A scalar's loaded text (quotes, escapes and folding resolved), whatever its type; a
    // collection's text as written, comments inside kept, from its first content (after its
    // anchor and tag) to its last content and a comment on that line (a flow collection: to its
    // closing bracket), each line after the first losing the first line's indentation. An
    // alias gives what it names.
    std::string value;

    friend bool operator==(const LocatedNode&, const LocatedNode&) = default;
};

// Composes a text once and locates any number of paths in it.
class NodeLocator {
public:
    // Composes every document under the rules of loadAll() (a document with aliases is also
    // built once, for the alias and depth limits). A text that fails locates nothing. The text,
    // the resolver and the constructor must outlive the locator.
    explicit NodeLocator(std::string_view text, const Resolver& resolver = Resolver::standard(),
                         const Constructor& constructor = Constructor::standard(),
                         Parser::Encoding encoding = Parser::defaultEncoding());
    ~NodeLocator();
    NodeLocator(const NodeLocator&) = delete;
    NodeLocator& operator=(const NodeLocator&) = delete;

    // Whether the text loaded: false when it failed or holds no document.
    bool loaded() const { return !roots_.empty(); }

    // The node at `path` (document 0 when the path names none), walked as the tree shows the
    // value: entries by the key texts construction gives them, merged keys included, sequence
    // elements by index (an ordered map's or pairs' elements as they are built), aliases
    // followed. None when the path leads nowhere.
    std::optional<LocatedNode> locate(const NodePath& path);

private:
    std::optional<LocatedNode> walk(std::size_t document, const std::vector<PathStep>& steps);
    std::optional<Mark> elementLabel(const Node& sequence, const Node& element);
    std::optional<std::string> valueOf(std::size_t document, const Node& node);
    std::optional<std::size_t> collectionNumber(std::size_t document, const Node& collection);
    const MarkOffsets& offsets();

    std::string_view text_;
    Parser::Encoding encoding_;
    std::unique_ptr<Parser> parser_;
    std::vector<Node> roots_;
    // Made on first need: most locations are of scalars.
    std::unique_ptr<MarkOffsets> offsets_;
    std::unique_ptr<CollectionSpans> spans_;
    std::vector<std::unordered_map<const detail::NodeData*, std::size_t>> numbers_;
};

// One location in a text, composed for it alone.
std::optional<LocatedNode> locateNode(std::string_view text, const NodePath& path,
                                      const Resolver& resolver = Resolver::standard(),
                                      const Constructor& constructor = Constructor::standard(),
                                      Parser::Encoding encoding = Parser::defaultEncoding());

} // namespace quessel::yaml

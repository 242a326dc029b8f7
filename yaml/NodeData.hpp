// The storage behind a Node: one compact record per composed node, kept in its load's arena.
// Internal to the YAML layer; everything outside goes through Node.
#pragma once

#include <cstdint>
#include <string_view>

namespace quessel::yaml {

class NodeArena;
class Node;
struct NodePair;

namespace detail {

// Tag names are interned per load; these are the fixed indices of the names the layer knows.
enum TagIndex : std::uint32_t {
    implicitTag = 0,
    nonSpecificTag,
    strTag,
    boolTag,
    intTag,
    floatTag,
    nullTag,
    binaryTag,
    timestampTag,
    mapTag,
    setTag,
    seqTag,
    omapTag,
    pairsTag,
    mergeTag,
    valueTag,
    wellKnownTagCount,
};

enum NodeFlag : std::uint8_t {
    inlineText = 1,    // the text sits in the payload itself (eight bytes or fewer)
    anchored = 2,      // the arena knows an anchor for this node
    mergesKeys = 4,    // a mapping with a merge (`<<`) or value (`=`) key: flatten() matters
    keysMayRepeat = 8, // a mapping whose keys may give equal key texts: construction dedups
};

struct NodeData {
    NodeArena* arena;
    union {
        const char* text;
        char inlineText[8];
        const Node* nodes;
        const NodePair* pairs;
    } payload;
    std::uint32_t size;    // text bytes, elements or pairs
    std::uint32_t tagName; // index into the arena's tag names; resolved in place
    std::uint32_t line;    // 1-based; 0 when the node has no mark
    std::uint32_t column;
    std::uint32_t identity; // structural identity for key comparison; 0 until first needed
    std::uint8_t kind;      // Node::Kind
    std::uint8_t style;     // ScalarStyle or CollectionStyle
    std::uint8_t flags;     // NodeFlag bits

    std::string_view text() const {
        return (flags & inlineText) != 0 ? std::string_view(payload.inlineText, size)
                                         : std::string_view(payload.text, size);
    }
};

// An alias as it stood in the text: the node it names, and where the alias was written.
struct AliasOccurrence {
    NodeData* target;
    std::uint32_t line;
    std::uint32_t column;
};

// Resolves the node's tag in place (once) and gives the final name's index: implicit and
// non-specific scalar tags by the resolver or as str, collections as map or seq.
std::uint32_t resolveTag(NodeData& node);

// The node's resolved tag when it may be merge or value; otherwise possibly the implicit tag,
// left unresolved. Under the standard rules only the plain texts `<<` and `=` resolve to those,
// and most mapping keys are never asked for their tag again (construction reads their text), so
// their resolution is spared.
std::uint32_t tagIfMergeOrValue(NodeData& node);

} // namespace detail
} // namespace quessel::yaml

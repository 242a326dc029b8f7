// One run of value construction over a node tree: an explicit stack instead of recursion, one
// alias budget and one depth count for everything it builds.
#pragma once

#include "yaml/Constructor.hpp"
#include "yaml/KeyIndex.hpp"
#include "yaml/MergeFlattening.hpp"
#include "yaml/TagDispatch.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quessel::yaml {

class ExpansionBudget;
class NodeArena;

class Construction {
public:
    enum class Shape : std::uint8_t { mapping, set, sequence, pairs };

    Construction(const Constructor& constructor, ExpansionBudget& budget);

    // The node's value, each node built by its own tag.
    YamlValue any(const Node& node);
    // A collection node built as `shape`, its children by their own tags.
    YamlValue build(const Node& node, Shape shape);
    // The text a mapping built here gives the entry of `key`, for finding an entry by its text.
    std::string keyTextOf(const Node& key);
    // How the node's tag builds it, when it is a collection.
    Shape shapeOf(const Node& collection);

private:
    // Where a finished value goes in the frame below it.
    enum class Slot : std::uint8_t { result, element, value, key, member, pairKey, pairValue };

    struct Frame {
        Frame(const Node& built, Shape builtAs, Slot goesTo)
            : node(built), shape(builtAs), slot(goesTo) {}

        Node node;
        Shape shape;
        Slot slot;
        bool awaitingValue = false; // mapping and pairs: the key is done, the value is next
        bool dedup = false;         // keys may repeat: look each up before adding
        std::uint32_t next = 0;
        std::uint32_t count = 0;
        std::size_t depth = 0;
        const detail::AliasOccurrence* alias = nullptr; // first alias on the way to the node
        std::optional<MergeFlattening::Range> flat;     // its pairs in merges_, when flattened
        YamlValue value;
        std::size_t target = 0; // mapping: the entry the next value goes to
        YamlValue pairKey;
        NotesBox pendingKeyNotes; // for the complex key being built in the frame above
        std::unique_ptr<KeyIndex> index;
    };

    YamlValue run();
    void step();
    void stepMapping(Frame& frame);
    void stepSet(Frame& frame);
    void stepSequence(Frame& frame);
    void stepPairs(Frame& frame);
    void finish();

    void visit(const Node& child, const detail::AliasOccurrence* alias, Slot slot);
    void push(const Node& node, Shape shape, Slot slot, const detail::AliasOccurrence* alias);
    void deliver(Frame& top, YamlValue&& value, Slot slot);
    void beginEntry(Frame& frame, std::string_view key, NotesBox&& keyNotes);
    void addScalarEntry(Frame& frame, std::string_view key, NotesBox&& keyNotes, const Node& value,
                        const detail::AliasOccurrence* alias);
    std::optional<std::size_t> earlierEntry(Frame& frame, std::string_view key);
    void addMember(Frame& frame, std::string_view member);
    std::optional<std::string_view> keyText(const Node& key, const detail::AliasOccurrence* alias,
                                            Slot slot);
    FlatPair pairAt(const Frame& frame, std::size_t index) const;
    NotesBox notesOf(const Node& node);
    NotesBox keyNotesOf(const FlatPair& item, const Frame& frame);
    NotesBox aliasNotes(const detail::NodeData& target);

    YamlValue scalarValue(const Node& scalar);

    ExpansionBudget& budget_;
    std::vector<Frame> stack_;
    MergeFlattening merges_;
    TagDispatch tags_;
    // Notes that many values share: an alias's (the node it names, false) and a merged key's
    // without notes of its own (the mapping it came from, true).
    using SharedNotesKey = std::pair<const detail::NodeData*, bool>;
    struct SharedNotesHash {
        std::size_t operator()(const SharedNotesKey& key) const noexcept {
            return std::hash<const void*>{}(key.first) ^ static_cast<std::size_t>(key.second);
        }
    };
    std::unordered_map<SharedNotesKey, NotesBox, SharedNotesHash> sharedNotes_;
    YamlValue result_;
};

} // namespace quessel::yaml

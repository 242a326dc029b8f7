// One run of value construction over a node tree: an explicit stack instead of recursion, one
// alias budget and one depth count for everything it builds.
#include "yaml/Construction.hpp"

#include "yaml/ExpansionBudget.hpp"
#include "yaml/NodeArena.hpp"
#include "yaml/ValueText.hpp"

#include <stdexcept>

namespace quessel::yaml {
namespace {

// The first alias on the way down from the root is the one a report names: that is where the
// document asks for the expansion.
const detail::AliasOccurrence* outermost(const Node& node, const detail::AliasOccurrence* outer) {
    return outer != nullptr ? outer : node.occurrence();
}

// The first pair whose key is a value key (`=`), whose value names a mapping used as a key.
// Every pair looked at through an alias is charged: a large mapping named as a key many times
// would otherwise be scanned once per key.
const NodePair* valuePair(const Node& mapping, const detail::AliasOccurrence* alias,
                          ExpansionBudget& budget) {
    for (const NodePair& pair : mapping.pairs()) {
        budget.charge(alias);
        if (detail::resolveTag(*pair.key.data()) == detail::valueTag) {
            return &pair;
        }
    }
    return nullptr;
}

// Hands a container what `make` returns to construct in its own storage: the conversion's
// result initialises the element directly, where an argument would be moved in and destroyed.
template <typename Make>
struct InPlace {
    Make make;
    operator decltype(make())() const { return make(); }
};

[[noreturn]] void aliasNodeReached() {
    // Composition replaces every alias by the node it names; an alias node here is a bug.
    throw std::logic_error("an alias node reached value construction");
}

} // namespace

Construction::Construction(const Constructor& constructor, ExpansionBudget& budget)
    : budget_(budget), merges_(budget), tags_(constructor) {
    stack_.reserve(64);
}

YamlValue Construction::any(const Node& node) {
    switch (node.kind()) {
    case Node::Kind::scalar:
        budget_.charge(node.occurrence());
        return scalarValue(node);
    case Node::Kind::alias:
        aliasNodeReached();
    default:
        return build(node, shapeOf(node));
    }
}

YamlValue Construction::build(const Node& node, Shape shape) {
    budget_.charge(node.occurrence());
    push(node, shape, Slot::result, node.occurrence());
    stack_.back().value.notes = notesOf(node);
    return run();
}

std::string Construction::keyTextOf(const Node& key) {
    if (const auto text = keyText(key, nullptr, Slot::result)) {
        return std::string(*text);
    }
    return flowText(run());
}

YamlValue Construction::run() {
    while (!stack_.empty()) {
        step();
    }
    return std::move(result_);
}

// The step functions may push a frame: none touches its frame after visiting a child.
void Construction::step() {
    Frame& frame = stack_.back();
    if (frame.next >= frame.count) {
        finish();
        return;
    }
    switch (frame.shape) {
    case Shape::mapping:
        stepMapping(frame);
        break;
    case Shape::set:
        stepSet(frame);
        break;
    case Shape::sequence:
        stepSequence(frame);
        break;
    case Shape::pairs:
        stepPairs(frame);
        break;
    }
}

// A key with a text goes on to its value in the same step; a key that is built first comes
// back here for its value.
void Construction::stepMapping(Frame& frame) {
    const FlatPair item = pairAt(frame, frame.next);
    if (!frame.awaitingValue) {
        NotesBox notes = keyNotesOf(item, frame);
        const auto text = keyText(item.pair.key, item.alias, Slot::key);
        if (!text) {
            // The key is being built in the frame above: its entry takes the notes then.
            stack_[stack_.size() - 2].pendingKeyNotes = std::move(notes);
            return;
        }
        if (item.pair.value.kind() == Node::Kind::scalar) {
            addScalarEntry(frame, *text, std::move(notes), item.pair.value, item.alias);
            return;
        }
        beginEntry(frame, *text, std::move(notes));
    }
    visit(item.pair.value, item.alias, Slot::value);
}

void Construction::stepSet(Frame& frame) {
    const NodePair& pair = frame.node.pairs()[frame.next];
    if (const auto text = keyText(pair.key, frame.alias, Slot::member)) {
        addMember(frame, *text);
        ++frame.next;
    }
}

void Construction::stepSequence(Frame& frame) {
    visit(frame.node.nodes()[frame.next], frame.alias, Slot::element);
}

void Construction::stepPairs(Frame& frame) {
    const Node& element = frame.node.nodes()[frame.next];
    const detail::AliasOccurrence* alias = outermost(element, frame.alias);
    if (!frame.awaitingValue) {
        budget_.charge(alias);
    }
    if (element.kind() != Node::Kind::mapping || element.pairs().empty()) {
        ++frame.next;
        return;
    }
    const NodePair& first = element.pairs().front();
    if (!frame.awaitingValue) {
        visit(first.key, alias, Slot::pairKey);
    } else {
        visit(first.value, alias, Slot::pairValue);
    }
}

// The value goes from its frame straight to where it belongs, before the frame is dropped.
void Construction::finish() {
    Frame& frame = stack_.back();
    if (frame.flat) {
        merges_.release(*frame.flat);
    }
    if (frame.slot == Slot::result) {
        result_ = std::move(frame.value);
    } else {
        deliver(stack_[stack_.size() - 2], std::move(frame.value), frame.slot);
    }
    stack_.pop_back();
}

void Construction::visit(const Node& child, const detail::AliasOccurrence* outer, Slot slot) {
    const detail::AliasOccurrence* alias = outermost(child, outer);
    budget_.charge(alias);
    switch (child.kind()) {
    case Node::Kind::scalar:
        if (slot == Slot::element) {
            Frame& top = stack_.back();
            top.value.as<Sequence>().emplace_back(InPlace{[&] { return scalarValue(child); }});
            ++top.next;
        } else {
            deliver(stack_.back(), scalarValue(child), slot);
        }
        return;
    case Node::Kind::alias:
        aliasNodeReached();
    default:
        push(child, shapeOf(child), slot, alias);
        stack_.back().value.notes = notesOf(child);
    }
}

void Construction::push(const Node& node, Shape shape, Slot slot,
                        const detail::AliasOccurrence* alias) {
    const std::size_t depth = stack_.empty() ? 1 : stack_.back().depth + 1;
    budget_.checkDepth(depth, alias, node);
    std::optional<MergeFlattening::Range> flat;
    if (shape == Shape::mapping && node.kind() == Node::Kind::mapping &&
        (node.data()->flags & detail::mergesKeys) != 0) {
        flat = merges_.flatten(node, alias);
    }
    // Made in place: a frame holds values, and moving one costs more than filling it.
    Frame& frame = stack_.emplace_back(node, shape, slot);
    frame.depth = depth;
    frame.alias = alias;
    const detail::NodeData& data = *node.data();
    const bool isMapping = node.kind() == Node::Kind::mapping;
    const bool isSequence = node.kind() == Node::Kind::sequence;
    if (shape == Shape::mapping) {
        if (flat) {
            frame.count = static_cast<std::uint32_t>(flat->size);
            frame.dedup = flat->keysMayRepeat;
            frame.flat = flat;
        } else {
            frame.count = isMapping ? data.size : 0;
            frame.dedup = (data.flags & detail::keysMayRepeat) != 0;
        }
        frame.value.storage.emplace<Mapping>().entries().reserve(frame.count);
    } else if (shape == Shape::set) {
        frame.count = isMapping ? data.size : 0;
        frame.dedup = (data.flags & detail::keysMayRepeat) != 0;
        frame.value.storage.emplace<Set>().reserve(frame.count);
    } else {
        frame.count = isSequence ? data.size : 0;
        frame.value.storage.emplace<Sequence>().reserve(frame.count);
    }
}

void Construction::deliver(Frame& top, YamlValue&& value, Slot slot) {
    if (slot == Slot::result) {
        result_ = std::move(value);
        return;
    }
    switch (slot) {
    case Slot::element:
        top.value.as<Sequence>().push_back(std::move(value));
        ++top.next;
        break;
    case Slot::value:
        top.value.as<Mapping>().entries()[top.target].value = std::move(value);
        top.awaitingValue = false;
        ++top.next;
        break;
    case Slot::key:
        beginEntry(top, flowText(value), std::move(top.pendingKeyNotes));
        break;
    case Slot::member:
        addMember(top, flowText(value));
        ++top.next;
        break;
    case Slot::pairKey:
        top.pairKey = std::move(value);
        top.awaitingValue = true;
        break;
    case Slot::pairValue:
        // Made in place: GCC's hardened builds take a moved temporary value for uninitialized.
        top.value.as<Sequence>().emplace_back(
            Pair{BoxedValue(std::move(top.pairKey)), BoxedValue(std::move(value))});
        top.awaitingValue = false;
        ++top.next;
        break;
    case Slot::result:
        break;
    }
}

// Makes (or, for a key seen before, finds) the entry the next value goes to: the later value
// replaces the earlier one in the earlier key's place.
void Construction::beginEntry(Frame& frame, std::string_view key, NotesBox&& keyNotes) {
    std::vector<MappingEntry>& entries = frame.value.as<Mapping>().entries();
    frame.awaitingValue = true;
    if (const auto earlier = earlierEntry(frame, key)) {
        frame.target = *earlier;
        entries[frame.target].keyNotes = std::move(keyNotes);
        return;
    }
    frame.target = entries.size();
    // Not emplace_back(): value-initialising an entry clears all of it first.
    entries.push_back(MappingEntry{std::string(key), YamlValue(), std::move(keyNotes)});
}

// An entry whose value is a scalar, made whole in its place: no null value made first and
// replaced.
void Construction::addScalarEntry(Frame& frame, std::string_view key, NotesBox&& keyNotes,
                                  const Node& value, const detail::AliasOccurrence* alias) {
    std::vector<MappingEntry>& entries = frame.value.as<Mapping>().entries();
    budget_.charge(outermost(value, alias));
    ++frame.next;
    if (const auto earlier = earlierEntry(frame, key)) {
        MappingEntry& entry = entries[*earlier];
        entry.keyNotes = std::move(keyNotes);
        entry.value = scalarValue(value);
        return;
    }
    entries.emplace_back(InPlace{[&] {
        return MappingEntry{std::string(key), scalarValue(value), std::move(keyNotes)};
    }});
}

// The entry of an earlier, canonically equal key, when keys may repeat; otherwise none, and the
// key is recorded as the next entry's.
std::optional<std::size_t> Construction::earlierEntry(Frame& frame, std::string_view key) {
    if (!frame.dedup) {
        return std::nullopt;
    }
    if (!frame.index) {
        frame.index = std::make_unique<KeyIndex>();
    }
    const std::vector<MappingEntry>& entries = frame.value.as<Mapping>().entries();
    return frame.index->findOrAdd(
        key, [&entries](std::size_t i) -> std::string_view { return entries[i].key; });
}

void Construction::addMember(Frame& frame, std::string_view member) {
    Set& set = frame.value.as<Set>();
    if (frame.dedup) {
        if (!frame.index) {
            frame.index = std::make_unique<KeyIndex>();
        }
        if (frame.index->findOrAdd(member,
                                   [&set](std::size_t i) -> std::string_view { return set[i]; })) {
            return;
        }
    }
    set.emplace_back(member);
}

// A key's text: a scalar's text; a mapping's `=` value's key text; otherwise the key is built
// (a frame is pushed, and none is returned) and its flow form becomes the text.
std::optional<std::string_view>
Construction::keyText(const Node& key, const detail::AliasOccurrence* outer, Slot slot) {
    Node node = key;
    const detail::AliasOccurrence* alias = outermost(key, outer);
    for (;;) {
        budget_.charge(alias);
        if (node.kind() == Node::Kind::scalar) {
            return node.string();
        }
        if (node.kind() == Node::Kind::alias) {
            aliasNodeReached();
        }
        const NodePair* named =
            node.kind() == Node::Kind::mapping ? valuePair(node, alias, budget_) : nullptr;
        if (named == nullptr) {
            push(node, shapeOf(node), slot, alias);
            return std::nullopt;
        }
        node = named->value;
        alias = outermost(node, alias);
    }
}

FlatPair Construction::pairAt(const Frame& frame, std::size_t index) const {
    if (frame.flat) {
        return merges_.pairAt(*frame.flat, index, frame.alias);
    }
    return {frame.node.pairs()[index], frame.alias, frame.node.data()};
}

// Most nodes have nothing to note; they are told apart by their flags and tag alone. A node
// reached through an alias notes only the alias: its anchor and tag stand where it is defined.
NotesBox Construction::notesOf(const Node& node) {
    detail::NodeData& data = *node.data();
    const detail::AliasOccurrence* occurrence = node.occurrence();
    const bool anchored = (data.flags & detail::anchored) != 0;
    // Implicit tags resolve to names the layer knows, so only a written tag can be custom.
    const bool mayBeCustom = data.tagName >= detail::wellKnownTagCount;
    if (occurrence == nullptr && !anchored && !mayBeCustom) {
        return {};
    }
    if (occurrence != nullptr) {
        return aliasNotes(data);
    }
    NodeNotes notes;
    if (anchored) {
        if (const Anchor* anchor = data.arena->anchorOf(&data)) {
            notes.anchor = anchor->rawValue;
        }
    }
    if (mayBeCustom && tags_.of(data).custom) {
        notes.tag = writtenTag(data.arena->tagName(data.tagName));
    }
    if (notes.anchor.empty() && notes.tag.empty()) {
        return {};
    }
    return NotesBox(std::move(notes));
}

// Every alias of one anchor notes the same: the notes are made once per anchored node and run.
NotesBox Construction::aliasNotes(const detail::NodeData& target) {
    auto [found, added] = sharedNotes_.try_emplace(SharedNotesKey{&target, false});
    if (added) {
        NodeNotes notes;
        if (const Anchor* anchor = target.arena->anchorOf(&target)) {
            notes.alias = anchor->rawValue;
        }
        found->second = NotesBox(std::move(notes));
    }
    return found->second;
}

NotesBox Construction::keyNotesOf(const FlatPair& item, const Frame& frame) {
    NotesBox own = notesOf(item.pair.key);
    if (item.owner == frame.node.data()) {
        return own;
    }
    const auto merged = [&item](NodeNotes notes) {
        notes.merged = true;
        if (const Anchor* anchor = item.owner->arena->anchorOf(item.owner)) {
            notes.mergedFrom = anchor->rawValue;
        }
        return NotesBox(std::move(notes));
    };
    if (own) {
        return merged(*own);
    }
    // A key with no notes of its own notes only where it came from, as every such key from the
    // same mapping does.
    auto [found, added] = sharedNotes_.try_emplace(SharedNotesKey{item.owner, true});
    if (added) {
        found->second = merged(NodeNotes{});
    }
    return found->second;
}

// A scalar's value with its notes, returned in place for the caller to make where it belongs.
YamlValue Construction::scalarValue(const Node& scalar) {
    YamlValue value = tags_.scalarValue(scalar);
    value.notes = notesOf(scalar);
    return value;
}

Construction::Shape Construction::shapeOf(const Node& collection) {
    const TagDispatch::Entry& entry = tags_.of(*collection.data());
    if (collection.kind() == Node::Kind::mapping) {
        return entry.mappingAsSet ? Shape::set : Shape::mapping;
    }
    return entry.sequenceAsPairs ? Shape::pairs : Shape::sequence;
}

} // namespace quessel::yaml

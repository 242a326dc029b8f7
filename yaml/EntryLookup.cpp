// Finds a mapping's entry by its key text, as building the mapping makes its entries.
#include "yaml/EntryLookup.hpp"

#include "yaml/CanonicalText.hpp"
#include "yaml/NodeArena.hpp"

#include <span>
#include <vector>

namespace quessel::yaml {
namespace {

bool sameNode(const Node& a, const Node& b) {
    return a.data() == b.data() && a.occurrence() == b.occurrence();
}

} // namespace

// Construction makes one entry per key text in the place of its first pair, spelled as there,
// with the value of the last pair whose text is canonically equal (merged pairs come first).
std::optional<EntryLookup::Found> EntryLookup::find(const Node& mapping, std::string_view key) {
    std::vector<FlatPair> pairs;
    bool keysMayRepeat = (mapping.data()->flags & detail::keysMayRepeat) != 0;
    if ((mapping.data()->flags & detail::mergesKeys) != 0) {
        const MergeFlattening::Range range = merges_.flatten(mapping, mapping.occurrence());
        pairs.reserve(range.size);
        for (std::size_t index = 0; index < range.size; ++index) {
            pairs.push_back(merges_.pairAt(range, index, mapping.occurrence()));
        }
        keysMayRepeat = range.keysMayRepeat;
        merges_.release(range);
    } else {
        pairs.reserve(mapping.pairs().size());
        for (const NodePair& pair : mapping.pairs()) {
            pairs.push_back({pair, nullptr, mapping.data()});
        }
    }
    const FlatPair* last = nullptr;
    for (const FlatPair& pair : pairs) {
        const std::string text = keyText(pair.pair.key);
        if (last == nullptr) {
            if (keysMayRepeat ? !canonicallyEqual(text, key) : text != key) {
                continue;
            }
            if (text != key) {
                return std::nullopt; // the entry is spelled as its first key: not this way
            }
            last = &pair;
            if (!keysMayRepeat) {
                break;
            }
        } else if (canonicallyEqual(text, key)) {
            last = &pair;
        }
    }
    if (last == nullptr) {
        return std::nullopt;
    }
    return Found{keyGiving(*last), last->pair.value};
}

// Construction reads a scalar key's text as it is; only collection keys are built.
std::string EntryLookup::keyText(const Node& key) {
    if (key.kind() == Node::Kind::scalar) {
        return std::string(key.string());
    }
    return construction_.keyTextOf(key);
}

// A flattened pair keeps the key its text was first written with, and the value of the last
// pair with that text: the key written beside that value is in the mapping owning that pair.
Node EntryLookup::keyGiving(const FlatPair& pair) {
    const detail::NodeData& owner = *pair.owner;
    if (owner.kind != static_cast<std::uint8_t>(Node::Kind::mapping)) {
        return pair.pair.key;
    }
    for (const NodePair& own : std::span<const NodePair>(owner.payload.pairs, owner.size)) {
        if (sameNode(own.value, pair.pair.value)) {
            return own.key;
        }
    }
    return pair.pair.key;
}

} // namespace quessel::yaml

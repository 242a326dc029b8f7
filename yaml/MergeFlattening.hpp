// Merge keys (`<<`): a mapping's pairs with the pairs of the mappings it merges spliced in.
#pragma once

#include "yaml/KeyIndex.hpp"
#include "yaml/Node.hpp"

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace quessel::yaml {

class ExpansionBudget;

// A pair of a flattened mapping and the first alias on the way to it (null when none).
struct FlatPair {
    NodePair pair;
    const detail::AliasOccurrence* alias;
};

// Expands merge keys. A `<<` whose value is a mapping merges that mapping's flattened pairs;
// one whose value is a sequence merges its mapping elements' flattened pairs, last element
// first; anything else merges nothing. The merged pairs come first, then the mapping's own; a
// `=` key stays and its tag becomes str. Since later pairs win when the value is built, own
// keys override merged ones and earlier merged mappings override later ones.
//
// What is kept of that list is what building the value makes of it: one pair per key text, in
// the place of the text's first pair and with the value of its last. So a flattened mapping is
// as long as its distinct keys, however often the same mappings are merged on the way to it.
// (A key that is a collection has no text until it is built: a list that holds one keeps every
// pair.)
//
// Each mapping is flattened once per run, the mappings it merges before it, on a stack of its
// own (merge chains can be as long as the document). Each merge and each pair taken over from
// a merged mapping is charged to the budget, under the first alias on the way to it.
class MergeFlattening {
public:
    explicit MergeFlattening(ExpansionBudget& budget) : budget_(budget) {}

    // Where a flattened mapping's pairs are, for pairAt().
    struct Range {
        std::size_t begin = 0;
        std::size_t size = 0;
        bool keysMayRepeat = false; // a collection key is among them: key texts may repeat
    };

    // The flattened pairs of a mapping reached through `alias` (null when it was not).
    Range flatten(const Node& mapping, const detail::AliasOccurrence* alias);
    // A pair of a range, as seen from a mapping reached through `alias`.
    FlatPair pairAt(std::size_t index, const detail::AliasOccurrence* alias) const {
        FlatPair pair = pairs_[index];
        if (alias != nullptr) {
            pair.alias = alias;
        }
        return pair;
    }

private:
    struct Task {
        Node mapping;
        const detail::AliasOccurrence* alias;
        bool mergesListed; // the mappings it merges are flattened first
    };
    struct Merge {
        Node mapping;
        const detail::AliasOccurrence* alias; // seen from the merging mapping
    };

    void listMerges(const Node& mapping);
    void build(const Task& task);
    bool mergesCollectionKeys() const;
    void takeOver(const Merge& merge, const detail::AliasOccurrence* outer);
    void add(const FlatPair& pair);

    ExpansionBudget& budget_;
    std::vector<FlatPair> pairs_; // the flattened mappings one after another
    std::unordered_map<const detail::NodeData*, Range> flattened_;
    std::vector<Merge> merges_;
    // The mapping being built: where its pairs start, and whether pairs with a key text seen
    // before are folded into the first (keys_ knows the texts).
    std::size_t begin_ = 0;
    bool reduce_ = false;
    KeyIndex keys_;
};

// The flattened pairs of a mapping as a list, charged to a budget of the mapping's own load.
std::vector<NodePair> flattenPairs(const Node& mapping);

} // namespace quessel::yaml

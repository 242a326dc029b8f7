// Merge keys (`<<`): a mapping's pairs with the pairs of the mappings it merges spliced in.
#pragma once

#include "yaml/KeyIndex.hpp"
#include "yaml/Node.hpp"

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace quessel::yaml {

class ExpansionBudget;

// A pair of a flattened mapping, the first alias on the way to it (null when none), and the
// mapping whose own pair it is: the flattened one, or one that a merge key named.
struct FlatPair {
    NodePair pair;
    const detail::AliasOccurrence* alias;
    const detail::NodeData* owner;
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
// An anchored mapping, the only kind aliases can name again, is flattened once per run and its
// pairs kept; any other mapping's pairs are kept until the value built from them is done
// (release()). The mappings a mapping merges are flattened before it, on a stack of its own
// (merge chains can be as long as the document). Each merge and each pair taken over from a
// merged mapping is charged to the budget, under the first alias on the way to it.
class MergeFlattening {
public:
    explicit MergeFlattening(ExpansionBudget& budget) : budget_(budget) {}

    // Where a flattened mapping's pairs are, for pairAt().
    struct Range {
        std::size_t begin = 0;
        std::size_t size = 0;
        bool keysMayRepeat = false; // a collection key is among them: key texts may repeat
        bool kept = false;          // in kept_, else in scratch_ from scratchMark on
        std::size_t scratchMark = 0;
    };

    // The flattened pairs of a mapping reached through `alias` (null when it was not).
    Range flatten(const Node& mapping, const detail::AliasOccurrence* alias);
    // A pair of a range, as seen from a mapping reached through `alias`.
    FlatPair pairAt(const Range& range, std::size_t index,
                    const detail::AliasOccurrence* alias) const {
        FlatPair pair = storage(range)[range.begin + index];
        if (alias != nullptr) {
            pair.alias = alias;
        }
        return pair;
    }
    // Forgets the pairs of the latest range not kept, and of every range made after it.
    void release(const Range& range) {
        if (!range.kept) {
            forgetScratchFrom(range.scratchMark);
        }
    }

private:
    struct Task {
        Node mapping;
        const detail::AliasOccurrence* alias;
    };
    struct Merge {
        Node mapping;
        const detail::AliasOccurrence* alias; // seen from the merging mapping
    };

    void forgetScratchFrom(std::size_t mark) {
        scratch_.erase(scratch_.begin() + static_cast<std::ptrdiff_t>(mark), scratch_.end());
    }
    const std::vector<FlatPair>& storage(const Range& range) const {
        return range.kept ? kept_ : scratch_;
    }
    const Range* flattened(const Node& mapping) const;
    void listMerges(const Node& mapping);
    void build(const Task& task);
    bool mergesCollectionKeys() const;
    void takeOver(const Merge& merge, const detail::AliasOccurrence* outer);
    void add(const FlatPair& pair, bool repeatable);
    // The key text recorded at a position of keys_.
    auto keyAt() const {
        return
            [this](std::size_t position) { return (*out_)[begin_ + position].pair.key.string(); };
    }

    ExpansionBudget& budget_;
    std::vector<FlatPair> kept_;    // anchored mappings' pairs, one mapping after another
    std::vector<FlatPair> scratch_; // other mappings' pairs, the innermost last
    std::unordered_map<const detail::NodeData*, Range> keptRanges_;
    std::vector<std::pair<const detail::NodeData*, Range>> scratchRanges_; // of this flatten()
    std::vector<Task> tasks_;
    // The mapping listed last: what it merges, and whether one of its own keys is a collection.
    std::vector<Merge> merges_;
    bool ownCollectionKey_ = false;
    // The mapping being built: where its pairs go, and whether pairs with a key text seen before
    // are folded into the first (keys_ knows the texts).
    std::vector<FlatPair>* out_ = nullptr;
    std::size_t begin_ = 0;
    bool reduce_ = false;
    KeyIndex keys_;
};

// The flattened pairs of a mapping as a list, charged to a budget of the mapping's own load.
std::vector<NodePair> flattenPairs(const Node& mapping);

} // namespace quessel::yaml

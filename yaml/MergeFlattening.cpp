// Merge keys (`<<`): a mapping's pairs with the pairs of the mappings it merges spliced in.
#include "yaml/MergeFlattening.hpp"

#include "yaml/ExpansionBudget.hpp"
#include "yaml/NodeArena.hpp"

#include <algorithm>

namespace quessel::yaml {
namespace {

// The first alias on the way down is the one a report names: that is where the document asks
// for the expansion.
const detail::AliasOccurrence* outermost(const Node& node, const detail::AliasOccurrence* outer) {
    return outer != nullptr ? outer : node.occurrence();
}

const detail::AliasOccurrence* firstOf(const detail::AliasOccurrence* outer,
                                       const detail::AliasOccurrence* inner) {
    return outer != nullptr ? outer : inner;
}

bool isMergeKey(const NodePair& pair) {
    return detail::tagIfMergeOrValue(*pair.key.data()) == detail::mergeTag;
}

// A mapping without merge or value keys is its own flattening.
bool flattensToItself(const Node& mapping) {
    return (mapping.data()->flags & detail::mergesKeys) == 0;
}

bool hasCollectionKey(std::span<const NodePair> pairs) {
    return std::any_of(pairs.begin(), pairs.end(),
                       [](const NodePair& pair) { return pair.key.kind() != Node::Kind::scalar; });
}

} // namespace

MergeFlattening::Range MergeFlattening::flatten(const Node& mapping,
                                                const detail::AliasOccurrence* alias) {
    if (const Range* done = flattened(mapping)) {
        return *done;
    }
    const std::size_t mark = scratch_.size();
    scratchRanges_.clear();
    tasks_.assign(1, {mapping, outermost(mapping, alias)});
    while (!tasks_.empty()) {
        const Task task = tasks_.back();
        if (flattened(task.mapping) != nullptr) {
            tasks_.pop_back();
            continue;
        }
        listMerges(task.mapping);
        const std::size_t listed = tasks_.size();
        for (const Merge& merge : merges_) {
            if (!flattensToItself(merge.mapping) && flattened(merge.mapping) == nullptr) {
                tasks_.push_back({merge.mapping, firstOf(task.alias, merge.alias)});
            }
        }
        if (tasks_.size() == listed) {
            tasks_.pop_back();
            build(task);
        }
    }
    Range range = *flattened(mapping);
    if (range.kept) {
        forgetScratchFrom(mark); // what only this flattening needed
    } else {
        range.scratchMark = mark;
    }
    return range;
}

const MergeFlattening::Range* MergeFlattening::flattened(const Node& mapping) const {
    const detail::NodeData* node = mapping.data();
    if ((node->flags & detail::anchored) != 0) {
        const auto found = keptRanges_.find(node);
        return found == keptRanges_.end() ? nullptr : &found->second;
    }
    const auto found = std::find_if(scratchRanges_.begin(), scratchRanges_.end(),
                                    [node](const auto& entry) { return entry.first == node; });
    return found == scratchRanges_.end() ? nullptr : &found->second;
}

// The mappings the merge keys name, in the order their pairs go out; `=` keys become str.
void MergeFlattening::listMerges(const Node& mapping) {
    merges_.clear();
    ownCollectionKey_ = false;
    for (const NodePair& pair : mapping.pairs()) {
        detail::NodeData& key = *pair.key.data();
        ownCollectionKey_ = ownCollectionKey_ || pair.key.kind() != Node::Kind::scalar;
        const std::uint32_t tag = detail::tagIfMergeOrValue(key);
        if (tag == detail::valueTag) {
            key.tagName = detail::strTag;
        }
        if (tag != detail::mergeTag) {
            continue;
        }
        if (pair.value.kind() == Node::Kind::mapping) {
            merges_.push_back({pair.value, pair.value.occurrence()});
        } else if (pair.value.kind() == Node::Kind::sequence) {
            const auto elements = pair.value.nodes();
            for (auto element = elements.rbegin(); element != elements.rend(); ++element) {
                if (element->kind() == Node::Kind::mapping) {
                    merges_.push_back({*element, outermost(*element, pair.value.occurrence())});
                }
            }
        }
    }
}

// Appends the flattened pairs of the mapping listed last, whose merged mappings are flattened.
void MergeFlattening::build(const Task& task) {
    const bool keep = (task.mapping.data()->flags & detail::anchored) != 0;
    out_ = keep ? &kept_ : &scratch_;
    begin_ = out_->size();
    reduce_ = !ownCollectionKey_ && !mergesCollectionKeys();
    keys_.clear();
    for (const Merge& merge : merges_) {
        takeOver(merge, task.alias);
    }
    // A mapping's own key texts differ from each other unless composition said they may not:
    // they need finding among the merged ones only, and no own key needs finding again.
    const bool ownKeysMayRepeat = (task.mapping.data()->flags & detail::keysMayRepeat) != 0;
    for (const NodePair& pair : task.mapping.pairs()) {
        if (!isMergeKey(pair)) {
            budget_.charge(task.alias);
            add({pair, nullptr, task.mapping.data()}, ownKeysMayRepeat);
        }
    }
    const Range range{begin_, out_->size() - begin_, !reduce_, keep, 0};
    if (keep) {
        keptRanges_.emplace(task.mapping.data(), range);
    } else {
        scratchRanges_.emplace_back(task.mapping.data(), range);
    }
}

bool MergeFlattening::mergesCollectionKeys() const {
    return std::any_of(merges_.begin(), merges_.end(), [this](const Merge& merge) {
        return flattensToItself(merge.mapping) ? hasCollectionKey(merge.mapping.pairs())
                                               : flattened(merge.mapping)->keysMayRepeat;
    });
}

// The merged mapping's flattened pairs, seen from the merging mapping; `outer` is the first
// alias on the way to that one.
void MergeFlattening::takeOver(const Merge& merge, const detail::AliasOccurrence* outer) {
    budget_.charge(firstOf(outer, merge.alias));
    const auto takeOne = [&](FlatPair pair) {
        const detail::AliasOccurrence* alias = firstOf(merge.alias, pair.alias);
        budget_.charge(firstOf(outer, alias));
        add({pair.pair, alias, pair.owner}, true);
    };
    if (flattensToItself(merge.mapping)) {
        for (const NodePair& pair : merge.mapping.pairs()) {
            takeOne({pair, nullptr, merge.mapping.data()});
        }
        return;
    }
    const Range range = *flattened(merge.mapping);
    const std::vector<FlatPair>& from = storage(range);
    for (std::size_t index = range.begin; index < range.begin + range.size; ++index) {
        takeOne(from[index]); // taken as a copy: appending may move the pairs
    }
}

// A pair whose key text came before takes that pair's place with its value (and the alias it
// came through, and the mapping that owns it); the key, and so the text as first written,
// stays. The text of a pair that no later pair repeats need not be recorded.
void MergeFlattening::add(const FlatPair& pair, bool repeatable) {
    if (reduce_) {
        const std::string_view text = pair.pair.key.string();
        const auto earlier =
            repeatable ? keys_.findOrAdd(text, keyAt()) : keys_.find(text, keyAt());
        if (earlier) {
            FlatPair& kept = (*out_)[begin_ + *earlier];
            kept.pair.value = pair.pair.value;
            kept.alias = pair.alias;
            kept.owner = pair.owner;
            return;
        }
    }
    out_->push_back(pair);
}

std::vector<NodePair> flattenPairs(const Node& mapping) {
    ExpansionBudget budget = ExpansionBudget::of(*mapping.data()->arena);
    MergeFlattening flattening(budget);
    const MergeFlattening::Range range = flattening.flatten(mapping, nullptr);
    std::vector<NodePair> pairs;
    pairs.reserve(range.size);
    for (std::size_t index = 0; index < range.size; ++index) {
        pairs.push_back(flattening.pairAt(range, index, nullptr).pair);
    }
    return pairs;
}

} // namespace quessel::yaml

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
    return detail::resolveTag(*pair.key.data()) == detail::mergeTag;
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
    std::vector<Task> tasks{{mapping, outermost(mapping, alias), false}};
    while (!tasks.empty()) {
        const Task task = tasks.back();
        if (flattened_.contains(task.mapping.data())) {
            tasks.pop_back();
            continue;
        }
        if (task.mergesListed) {
            tasks.pop_back();
            build(task);
            continue;
        }
        tasks.back().mergesListed = true;
        listMerges(task.mapping);
        for (const Merge& merge : merges_) {
            if (!flattensToItself(merge.mapping) && !flattened_.contains(merge.mapping.data())) {
                tasks.push_back({merge.mapping, firstOf(task.alias, merge.alias), false});
            }
        }
    }
    return flattened_.at(mapping.data());
}

// The mappings the merge keys name, in the order their pairs go out; `=` keys become str.
void MergeFlattening::listMerges(const Node& mapping) {
    merges_.clear();
    for (const NodePair& pair : mapping.pairs()) {
        detail::NodeData& key = *pair.key.data();
        const std::uint32_t tag = detail::resolveTag(key);
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

// Appends the mapping's flattened pairs, its merged mappings being flattened already.
void MergeFlattening::build(const Task& task) {
    listMerges(task.mapping);
    begin_ = pairs_.size();
    reduce_ = !hasCollectionKey(task.mapping.pairs()) && !mergesCollectionKeys();
    keys_.clear();
    for (const Merge& merge : merges_) {
        takeOver(merge, task.alias);
    }
    for (const NodePair& pair : task.mapping.pairs()) {
        if (!isMergeKey(pair)) {
            budget_.charge(task.alias);
            add({pair, nullptr});
        }
    }
    flattened_.emplace(task.mapping.data(), Range{begin_, pairs_.size() - begin_, !reduce_});
}

bool MergeFlattening::mergesCollectionKeys() const {
    return std::any_of(merges_.begin(), merges_.end(), [this](const Merge& merge) {
        return flattensToItself(merge.mapping) ? hasCollectionKey(merge.mapping.pairs())
                                               : flattened_.at(merge.mapping.data()).keysMayRepeat;
    });
}

// The merged mapping's flattened pairs, seen from the merging mapping; `outer` is the first
// alias on the way to that one.
void MergeFlattening::takeOver(const Merge& merge, const detail::AliasOccurrence* outer) {
    budget_.charge(firstOf(outer, merge.alias));
    const auto takeOne = [&](FlatPair pair) {
        const detail::AliasOccurrence* alias = firstOf(merge.alias, pair.alias);
        budget_.charge(firstOf(outer, alias));
        add({pair.pair, alias});
    };
    if (flattensToItself(merge.mapping)) {
        for (const NodePair& pair : merge.mapping.pairs()) {
            takeOne({pair, nullptr});
        }
        return;
    }
    const Range range = flattened_.at(merge.mapping.data());
    for (std::size_t index = range.begin; index < range.begin + range.size; ++index) {
        takeOne(pairs_[index]); // taken as a copy: appending may move the pairs
    }
}

// A pair whose key text came before takes that pair's place with its value (and the alias it
// came through); the key, and so the text as first written, stays.
void MergeFlattening::add(const FlatPair& pair) {
    if (reduce_) {
        const auto earlier = keys_.findOrAdd(pair.pair.key.string(), [this](std::size_t position) {
            return pairs_[begin_ + position].pair.key.string();
        });
        if (earlier) {
            FlatPair& kept = pairs_[begin_ + *earlier];
            kept.pair.value = pair.pair.value;
            kept.alias = pair.alias;
            return;
        }
    }
    pairs_.push_back(pair);
}

std::vector<NodePair> flattenPairs(const Node& mapping) {
    ExpansionBudget budget = ExpansionBudget::of(*mapping.data()->arena);
    MergeFlattening flattening(budget);
    const MergeFlattening::Range range = flattening.flatten(mapping, nullptr);
    std::vector<NodePair> pairs;
    pairs.reserve(range.size);
    for (std::size_t index = range.begin; index < range.begin + range.size; ++index) {
        pairs.push_back(flattening.pairAt(index, nullptr).pair);
    }
    return pairs;
}

} // namespace quessel::yaml

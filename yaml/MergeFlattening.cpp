// Merge keys (`<<`): a mapping's pairs with the pairs of the mappings it merges spliced in.
#include "yaml/MergeFlattening.hpp"

#include "yaml/ExpansionBudget.hpp"
#include "yaml/NodeArena.hpp"

#include <algorithm>

namespace quessel::yaml {
namespace {

struct Task {
    const Node* mapping; // points into the arena, which outlives the flattening
    const detail::AliasOccurrence* alias;
    bool ownPairs; // false: expand the merges first
};

// The first alias on the way down from the root is the one a report names: that is where the
// document asks for the expansion.
const detail::AliasOccurrence* outermost(const Node& node, const detail::AliasOccurrence* outer) {
    return outer != nullptr ? outer : node.occurrence();
}

bool isMergeKey(const NodePair& pair) {
    return detail::resolveTag(*pair.key.data()) == detail::mergeTag;
}

// Walks a mapping's pairs once: `=` keys become str, and the mappings its merge keys name are
// listed in the order their pairs go out.
void listMerges(const Task& task, std::vector<Task>& merges) {
    for (const NodePair& pair : task.mapping->pairs()) {
        detail::NodeData& key = *pair.key.data();
        const std::uint32_t tag = detail::resolveTag(key);
        if (tag == detail::valueTag) {
            key.tagName = detail::strTag;
        }
        if (tag != detail::mergeTag) {
            continue;
        }
        const detail::AliasOccurrence* alias = outermost(pair.value, task.alias);
        if (pair.value.kind() == Node::Kind::mapping) {
            merges.push_back({&pair.value, alias, false});
        } else if (pair.value.kind() == Node::Kind::sequence) {
            const auto elements = pair.value.nodes();
            for (auto element = elements.rbegin(); element != elements.rend(); ++element) {
                if (element->kind() == Node::Kind::mapping) {
                    merges.push_back({&*element, outermost(*element, alias), false});
                }
            }
        }
    }
}

} // namespace

void flattenInto(const Node& mapping, const detail::AliasOccurrence* alias, ExpansionBudget& budget,
                 std::vector<FlatPair>& out) {
    std::vector<Task> tasks{{&mapping, outermost(mapping, alias), false}};
    std::vector<Task> merges;
    while (!tasks.empty()) {
        const Task task = tasks.back();
        tasks.pop_back();
        if (task.ownPairs) {
            for (const NodePair& pair : task.mapping->pairs()) {
                if (!isMergeKey(pair)) {
                    budget.charge(task.alias);
                    out.push_back({pair, task.alias, task.mapping->data()});
                }
            }
            continue;
        }
        budget.charge(task.alias);
        tasks.push_back({task.mapping, task.alias, true});
        merges.clear();
        listMerges(task, merges);
        // The first merge's pairs go out first, so it goes on the stack last.
        tasks.insert(tasks.end(), merges.rbegin(), merges.rend());
    }
}

std::vector<NodePair> flattenPairs(const Node& mapping) {
    ExpansionBudget budget = ExpansionBudget::of(*mapping.data()->arena);
    std::vector<FlatPair> flat;
    flattenInto(mapping, nullptr, budget, flat);
    std::vector<NodePair> pairs;
    pairs.reserve(flat.size());
    std::transform(flat.begin(), flat.end(), std::back_inserter(pairs),
                   [](const FlatPair& entry) { return entry.pair; });
    return pairs;
}

} // namespace quessel::yaml

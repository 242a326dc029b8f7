// Merge keys (`<<`): a mapping's pairs with the pairs of the mappings it merges spliced in.
#pragma once

#include "yaml/Node.hpp"

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

// Appends the pairs of `mapping` with merge keys expanded: first the merged pairs, then the
// mapping's own. A `<<` whose value is a mapping merges that mapping's flattened pairs; one
// whose value is a sequence merges its mapping elements' flattened pairs, last element first;
// anything else merges nothing. A `=` key stays and its tag becomes str. Since later pairs win
// when the value is built, own keys override merged ones and earlier merged mappings override
// later ones.
//
// The expansion keeps its own stack (merge chains can be as long as the document), and every
// mapping expanded and pair copied through an alias is charged to `budget`.
void flattenInto(const Node& mapping, const detail::AliasOccurrence* alias, ExpansionBudget& budget,
                 std::vector<FlatPair>& out);

// The same as a list of pairs, charged to a budget of the mapping's own load.
std::vector<NodePair> flattenPairs(const Node& mapping);

} // namespace quessel::yaml

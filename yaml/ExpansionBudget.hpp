// Counts the nodes construction visits through aliases and stops a load that visits too many
// or nests too deep.
#pragma once

#include "yaml/Mark.hpp"
#include "yaml/NodeData.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quessel::yaml {

class Node;
class NodeArena;

class ExpansionBudget {
public:
    ExpansionBudget(std::uint64_t limit, std::string_view source)
        : limit_(limit), source_(source) {}
    // The limit of limits::aliasExpansionLimit for the arena's composed nodes.
    static ExpansionBudget of(const NodeArena& arena);

    // Counts one node reached through `alias` (nothing when it was not reached through one).
    // Throws a composer YamlError at the alias's mark once the limit is passed.
    void charge(const detail::AliasOccurrence* alias) {
        if (alias != nullptr && ++spent_ > limit_) {
            exceeded(*alias);
        }
    }
    // Throws a composer YamlError when `depth` passes limits::maximumDepth; the mark is the
    // alias's when the node was reached through one, the node's own otherwise.
    void checkDepth(std::size_t depth, const detail::AliasOccurrence* alias,
                    const Node& node) const;

    std::uint64_t limit() const { return limit_; }
    std::uint64_t spent() const { return spent_; }

private:
    [[noreturn]] void exceeded(const detail::AliasOccurrence& alias) const;

    std::uint64_t limit_;
    std::uint64_t spent_ = 0;
    std::string_view source_;
};

// The composer error for nesting beyond limits::maximumDepth at `mark`.
[[noreturn]] void throwDepthExceeded(Mark mark, std::string_view source);

} // namespace quessel::yaml

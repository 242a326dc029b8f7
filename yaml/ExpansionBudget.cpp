// Counts the nodes construction visits through aliases and stops a load that visits too many
// or nests too deep.
#include "yaml/ExpansionBudget.hpp"

#include "yaml/Limits.hpp"
#include "yaml/Node.hpp"
#include "yaml/NodeArena.hpp"
#include "yaml/YamlError.hpp"

#include <string>

namespace quessel::yaml {

ExpansionBudget ExpansionBudget::of(const NodeArena& arena) {
    return ExpansionBudget(limits::aliasExpansionLimit(arena.nodeCount()), arena.source());
}

void ExpansionBudget::checkDepth(std::size_t depth, const detail::AliasOccurrence* alias,
                                 const Node& node) const {
    if (depth <= limits::maximumDepth) {
        return;
    }
    const Mark mark =
        alias != nullptr ? Mark{alias->line, alias->column} : node.mark().value_or(Mark{});
    throwDepthExceeded(mark, source_);
}

void ExpansionBudget::exceeded(const detail::AliasOccurrence& alias) const {
    throw YamlError::composer(std::nullopt,
                              "exceeded the limit of " + std::to_string(limit_) +
                                  " nodes expanded through aliases",
                              Mark{alias.line, alias.column}, source_);
}

void throwDepthExceeded(Mark mark, std::string_view source) {
    throw YamlError::composer(std::nullopt,
                              "exceeded the maximum nesting depth of " +
                                  std::to_string(limits::maximumDepth),
                              mark, source);
}

} // namespace quessel::yaml

// The bounds that keep a hostile document from exhausting the stack, the memory or the time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace quessel::yaml::limits {

// Collections may nest 1,000 deep, in the text and in the value that aliases build from it.
inline constexpr std::size_t maximumDepth = 1000;

// Every alias occurrence is constructed anew, so a few lines can name billions of nodes. The
// nodes that construction visits through alias occurrences (beyond the ones the text composes)
// may number at most max(1,000,000, 10 x the composed node count, alias occurrences included):
// generous for documents that share blocks through anchors and merge keys, and a stop for
// alias bombs before they cost more than some hundred megabytes or a fraction of a second. A
// merge counts every pair it takes over from the mapping it merges, once per mapping flattened
// (see MergeFlattening.hpp), and the error names the first alias on the way down from the root
// to the node that crossed the limit.
inline constexpr std::uint64_t aliasExpansionFloor = 1'000'000;
inline constexpr std::uint64_t aliasExpansionFactor = 10;

inline std::uint64_t aliasExpansionLimit(std::size_t composedNodes) {
    return std::max<std::uint64_t>(aliasExpansionFloor, aliasExpansionFactor * composedNodes);
}

} // namespace quessel::yaml::limits

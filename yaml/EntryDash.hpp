// The dash that introduces an element of a block sequence, found back from the element.
#pragma once

#include "yaml/Mark.hpp"
#include "yaml/MarkOffsets.hpp"

#include <optional>

namespace quessel::yaml {

// The mark of the `-` before the node at `element`, over white space, blank lines and comment
// lines; none when something else stands between them (the node's own anchor and tag are part
// of its mark already).
std::optional<Mark> entryDash(const MarkOffsets& offsets, Mark element);

} // namespace quessel::yaml

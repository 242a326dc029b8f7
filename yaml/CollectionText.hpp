// A collection's text as written in the source, for copying it on its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quessel::yaml {

// The source from `begin` to `end` (byte offsets). A block collection's text ends with its
// last content and a comment on that line, without the blank or comment lines after it (its
// end may lie past them: a block scalar's end is where the next line's content starts); a flow
// collection's ends as given, at its closing bracket. The first line starts where the
// collection does, so every other line loses up to `column` spaces of indentation, the
// collection's own (`column` counts from 0).
std::string collectionText(std::string_view source, std::size_t begin, std::size_t end,
                           std::size_t column, bool block);

} // namespace quessel::yaml

// A collection's text as written in the source, for copying it on its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quessel::yaml {

// The source from `begin` to `end` (byte offsets). A bracketed collection's text ends as given,
// at its closing bracket; any other ends with its last content and a comment on that line,
// without the blank or comment lines after it (`end` may lie past them: a block scalar ends
// where the next line's content starts). The first line starts where the
// collection does, so every other line loses up to `column` spaces of indentation, the
// collection's own (`column` counts from 0).
std::string collectionText(std::string_view source, std::size_t begin, std::size_t end,
                           std::size_t column, bool bracketed);

} // namespace quessel::yaml

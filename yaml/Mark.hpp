// A position in the source text: 1-based line and column (the column counts Unicode scalars).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quessel::yaml {

class LineIndex;

struct Mark {
    std::int64_t line = 1;
    std::int64_t column = 1;

    // "line:column", for example "3:7".
    std::string description() const;

    // The source line the mark is on (the last line when the text has fewer), ending with a line
    // break, then a caret under the marked column, indented by UTF-16 code units. A column
    // beyond the line or inside a character puts the caret after the whole line.
    std::string snippet(std::string_view from) const;
    // The same for the mark's line of a text whose lines are already known.
    std::string snippet(const LineIndex& lines) const;

    friend bool operator==(const Mark&, const Mark&) = default;
};

} // namespace quessel::yaml

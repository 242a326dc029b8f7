// A position in the source text: 1-based line and column (the column counts Unicode scalars).
#include "yaml/Mark.hpp"

#include "yaml/SourceText.hpp"

#include <algorithm>

namespace quessel::yaml {

std::string Mark::description() const {
    return std::to_string(line) + ":" + std::to_string(column);
}

namespace {

std::size_t lineNumber(std::int64_t line) {
    return static_cast<std::size_t>(std::max<std::int64_t>(line - 1, 0));
}

// The line, then a caret under the column (after the line when the column lies beyond it or
// inside a character), indented by UTF-16 code units.
std::string snippetOfLine(std::string_view text, std::int64_t column) {
    const auto scalars = static_cast<std::size_t>(std::max<std::int64_t>(column - 1, 0));
    std::size_t position = text.size();
    if (const auto found = advanceScalars(text, scalars);
        found && isCharacterBoundary(text, *found)) {
        position = *found;
    }
    std::string result = endingWithNewLine(text);
    result.append(utf16Length(text.substr(0, position)), ' ');
    result += '^';
    return result;
}

} // namespace

std::string Mark::snippet(std::string_view from) const {
    return snippetOfLine(substring(from, lineNumber(line)), column);
}

std::string Mark::snippet(const LineIndex& lines) const {
    return snippetOfLine(lines.line(lineNumber(line)), column);
}

} // namespace quessel::yaml

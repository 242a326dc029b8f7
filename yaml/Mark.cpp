// A position in the source text: 1-based line and column (the column counts Unicode scalars).
#include "yaml/Mark.hpp"

#include "yaml/SourceText.hpp"

#include <algorithm>

namespace quessel::yaml {

std::string Mark::description() const {
    return std::to_string(line) + ":" + std::to_string(column);
}

std::string Mark::snippet(std::string_view from) const {
    const std::string_view text =
        substring(from, static_cast<std::size_t>(std::max<std::int64_t>(line - 1, 0)));
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

} // namespace quessel::yaml

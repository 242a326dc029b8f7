// The dash that introduces an element of a block sequence, found back from the element.
#include "yaml/EntryDash.hpp"

namespace quessel::yaml {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmedEnd(std::string_view text) {
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// A line before the element's: its text up to a comment. A `#` inside a quoted scalar ends it
// too early, which at worst hides the dash.
std::string_view withoutComment(std::string_view line) {
    for (std::size_t at = 0; at < line.size(); ++at) {
        if (line[at] == '#' && (at == 0 || isBlank(line[at - 1]))) {
            return line.substr(0, at);
        }
    }
    return line;
}

bool endsWithDash(std::string_view text) {
    return !text.empty() && text.back() == '-' &&
           (text.size() == 1 || isBlank(text[text.size() - 2]));
}

} // namespace

std::optional<Mark> entryDash(const MarkOffsets& offsets, Mark element) {
    const std::string_view text = offsets.text();
    const auto offset = offsets.offsetOf(element);
    auto lineBegin = offsets.lineStart(element.line);
    if (!offset || !lineBegin) {
        return std::nullopt;
    }
    // What precedes the element on its own line holds no comment.
    std::string_view before = trimmedEnd(text.substr(*lineBegin, *offset - *lineBegin));
    for (std::int64_t line = element.line; before.empty();) {
        const std::size_t nextBegin = *lineBegin;
        if (--line < 1 || !(lineBegin = offsets.lineStart(line))) {
            return std::nullopt;
        }
        before = trimmedEnd(withoutComment(text.substr(*lineBegin, nextBegin - *lineBegin)));
        if (!before.empty()) {
            element.line = line;
        }
    }
    if (!endsWithDash(before)) {
        return std::nullopt;
    }
    return offsets.markAt(element.line, *lineBegin + before.size() - 1);
}

} // namespace quessel::yaml

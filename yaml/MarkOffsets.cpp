// Between marks (line and column as libyaml counts them) and byte offsets in the source text.
#include "yaml/MarkOffsets.hpp"

#include <algorithm>

namespace quessel::yaml {
namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

} // namespace

MarkOffsets::MarkOffsets(std::string_view text, Parser::Encoding encoding)
    : text_(text), lines_(text),
      skipped_(encoding == Parser::Encoding::utf8 && text.starts_with(byteOrderMark)
                   ? byteOrderMark.size()
                   : 0) {}

std::optional<std::size_t> MarkOffsets::lineStart(std::int64_t line) const {
    if (line < 1 || static_cast<std::size_t>(line) > lines_.lineCount() + 1) {
        return std::nullopt;
    }
    // The line after the last is where libyaml marks the end of a text ending with a break.
    const auto number = static_cast<std::size_t>(line - 1);
    const std::size_t start =
        number < lines_.lineCount()
            ? static_cast<std::size_t>(lines_.line(number).data() - text_.data())
            : text_.size();
    return line == 1 ? std::min(start + skipped_, text_.size()) : start;
}

std::optional<std::size_t> MarkOffsets::offsetOf(Mark mark) const {
    const auto start = lineStart(mark.line);
    if (!start || mark.column < 1) {
        return std::nullopt;
    }
    const auto within =
        advanceScalars(text_.substr(*start), static_cast<std::size_t>(mark.column - 1));
    if (!within) {
        return std::nullopt;
    }
    return *start + *within;
}

Mark MarkOffsets::markAt(std::int64_t line, std::size_t offset) const {
    const std::size_t start = lineStart(line).value_or(0);
    std::int64_t column = 1;
    for (std::size_t at = start; at < offset && at < text_.size(); ++at) {
        // Continuation bytes belong to the scalar before them.
        if ((static_cast<unsigned char>(text_[at]) & 0xC0U) != 0x80U) {
            ++column;
        }
    }
    return Mark{line, column};
}

} // namespace quessel::yaml

// Between marks (line and column as libyaml counts them) and byte offsets in the source text.
#pragma once

#include "yaml/Mark.hpp"
#include "yaml/Parser.hpp"
#include "yaml/SourceText.hpp"

#include <cstddef>
#include <optional>
#include <string_view>

namespace quessel::yaml {

// Lines end where LineIndex ends them, as libyaml does. libyaml drops a byte order mark that
// starts UTF-8 input before counting columns, so the first line's columns start after it.
class MarkOffsets {
public:
    MarkOffsets(std::string_view text, Parser::Encoding encoding);

    std::string_view text() const { return text_; }
    // The byte offset of the mark; none when the text has no such line or column.
    std::optional<std::size_t> offsetOf(Mark mark) const;
    // The byte offset where the line's first column is; none when the text has no such line.
    std::optional<std::size_t> lineStart(std::int64_t line) const;
    // The mark of a byte offset on the line `line` (at or after the line's start).
    Mark markAt(std::int64_t line, std::size_t offset) const;

private:
    std::string_view text_;
    LineIndex lines_;
    std::size_t skipped_; // the byte order mark, when libyaml drops it
};

} // namespace quessel::yaml

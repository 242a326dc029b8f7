// Line and character arithmetic on the source text, for the snippets of error reports.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quessel::yaml {

// Lines end at LF, CR, CR LF, U+0085, U+2028 or U+2029; a line's text includes its terminator.
// The line with 0-based number `at`, or the last line when the text has fewer lines.
std::string_view substring(std::string_view text, std::size_t at);

// The starts of a text's lines, found once, for reports that quote many lines.
class LineIndex {
public:
    explicit LineIndex(std::string_view text);
    // The same as substring(text, at).
    std::string_view line(std::size_t at) const;
    // How many lines the text has (a line break that ends the text starts none).
    std::size_t lineCount() const { return starts_.size() - 1; }

private:
    std::string_view text_;
    std::vector<std::size_t> starts_; // of every line, then the end of the text
};

// The text itself when it ends with one of U+000A to U+000D, U+0085, U+2028, U+2029; otherwise
// the text followed by a line feed, so that whatever follows starts a new line.
std::string endingWithNewLine(std::string_view text);

struct LineNumberColumnAndContents {
    std::size_t lineNumber = 0; // 0-based
    std::size_t column = 0;     // distance from the line's start in UTF-16 code units
    std::string_view contents;  // the line, terminator included
};

// The line holding the position `at` characters (extended grapheme clusters) from the start of
// the text; none when the text has fewer characters. The end of the text counts as on the last
// line.
std::optional<LineNumberColumnAndContents> lineNumberColumnAndContents(std::string_view text,
                                                                       std::size_t at);

// The byte position `count` characters (extended grapheme clusters) from the start of the text;
// none when the text has fewer characters.
std::optional<std::size_t> advanceCharacters(std::string_view text, std::size_t count);

// How many characters precede the byte position `offset`; none when the position lies beyond
// the end of the text or inside a character.
std::optional<std::size_t> charactersBefore(std::string_view text, std::size_t offset);

// The same for a position in UTF-16 text, counted in code units.
std::optional<std::size_t> charactersBefore(std::u16string_view text, std::size_t offset);

// The byte position `count` Unicode scalars after the start of the text; none when the text has
// fewer scalars.
std::optional<std::size_t> advanceScalars(std::string_view text, std::size_t count);

// Whether a byte position of the text starts a character (an extended grapheme cluster) or is
// its end.
bool isCharacterBoundary(std::string_view text, std::size_t offset);

// The number of UTF-16 code units the UTF-8 text needs.
std::size_t utf16Length(std::string_view text);

} // namespace quessel::yaml

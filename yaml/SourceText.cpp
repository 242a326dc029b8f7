// Line and character arithmetic on the source text, for the snippets of error reports.
#include "yaml/SourceText.hpp"

#include "yaml/CanonicalText.hpp"
#include "yaml/Utf8.hpp"

#include <unicode/brkiter.h>
#include <unicode/utext.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace quessel::yaml {
namespace {

// The position after the terminator of the line that starts at `start`.
std::size_t lineEnd(std::string_view text, std::size_t start) {
    const std::size_t n = text.size();
    for (std::size_t i = start; i < n; ++i) {
        const char c = text[i];
        if (c == '\n') {
            return i + 1;
        }
        if (c == '\r') {
            return (i + 1 < n && text[i + 1] == '\n') ? i + 2 : i + 1;
        }
        if (c == '\xC2' && i + 1 < n && text[i + 1] == '\x85') {
            return i + 2;
        }
        if (c == '\xE2' && i + 2 < n && text[i + 1] == '\x80' &&
            (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
            return i + 3;
        }
    }
    return n;
}

// Every line break is followed by a character boundary (line terminators are grapheme
// controls), so characters can be counted line by line: that keeps ICU's 32-bit offsets small
// and lets ASCII lines skip ICU altogether.
class LineCharacters {
public:
    explicit LineCharacters(std::string_view line) : line_(line), ascii_(isAscii(line)) {
        if (!ascii_ && line.size() <= INT32_MAX) {
            UErrorCode status = U_ZERO_ERROR;
            text_ =
                utext_openUTF8(nullptr, line.data(), static_cast<int64_t>(line.size()), &status);
            iterator_ = iterator();
            if (U_SUCCESS(status) && iterator_ != nullptr) {
                iterator_->setText(text_, status);
            }
            if (U_FAILURE(status)) {
                iterator_ = nullptr;
            }
        }
    }
    ~LineCharacters() {
        if (text_ != nullptr) {
            utext_close(text_);
        }
    }
    LineCharacters(const LineCharacters&) = delete;
    LineCharacters& operator=(const LineCharacters&) = delete;

    bool isBoundary(std::size_t offset) const {
        if (offset == 0 || offset >= line_.size()) {
            return offset <= line_.size();
        }
        if (iterator_ == nullptr) {
            // ASCII: only the two bytes of a CR LF belong together. (A line too long for ICU is
            // counted by scalars.)
            return ascii_ ? !(line_[offset - 1] == '\r' && line_[offset] == '\n')
                          : (static_cast<unsigned char>(line_[offset]) & 0xC0) != 0x80;
        }
        return iterator_->isBoundary(static_cast<int32_t>(offset)) != 0;
    }

    // Characters before a boundary `offset`.
    std::size_t countBefore(std::size_t offset) const {
        if (iterator_ == nullptr) {
            if (ascii_) {
                return offset == line_.size() && line_.ends_with("\r\n") ? offset - 1 : offset;
            }
            return scalarsBefore(offset);
        }
        std::size_t count = 0;
        for (int32_t p = iterator_->first(); p != icu::BreakIterator::DONE && p < int32_t(offset);
             p = iterator_->next()) {
            ++count;
        }
        return count;
    }

    // The position `count` characters into the line, or none when the line is shorter.
    std::optional<std::size_t> advance(std::size_t count) const {
        if (iterator_ == nullptr) {
            std::size_t position = 0;
            for (std::size_t i = 0; i < count; ++i) {
                if (position >= line_.size()) {
                    return std::nullopt;
                }
                position = nextPosition(position);
            }
            return position;
        }
        int32_t position = iterator_->first();
        for (std::size_t i = 0; i < count; ++i) {
            position = iterator_->next();
            if (position == icu::BreakIterator::DONE) {
                return std::nullopt;
            }
        }
        return static_cast<std::size_t>(position);
    }

private:
    static icu::BreakIterator* iterator() {
        // Break iterators are not thread-safe: one per thread, made on first use.
        thread_local std::unique_ptr<icu::BreakIterator> instance = [] {
            UErrorCode status = U_ZERO_ERROR;
            std::unique_ptr<icu::BreakIterator> made(
                icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
            return U_SUCCESS(status) ? std::move(made) : nullptr;
        }();
        return instance.get();
    }

    std::size_t nextPosition(std::size_t position) const {
        if (ascii_) {
            return line_.substr(position).starts_with("\r\n") ? position + 2 : position + 1;
        }
        return position + utf8::decode(line_, position).length;
    }

    std::size_t scalarsBefore(std::size_t offset) const {
        std::size_t count = 0;
        for (std::size_t position = 0; position < offset; position = nextPosition(position)) {
            ++count;
        }
        return count;
    }

    std::string_view line_;
    bool ascii_;
    UText* text_ = nullptr;
    icu::BreakIterator* iterator_ = nullptr;
};

} // namespace

std::string_view substring(std::string_view text, std::size_t at) {
    std::size_t start = 0;
    for (std::size_t number = 0;; ++number) {
        const std::size_t end = lineEnd(text, start);
        if (number == at || end == text.size()) {
            return text.substr(start, end - start);
        }
        start = end;
    }
}

LineIndex::LineIndex(std::string_view text) : text_(text) {
    for (std::size_t start = 0; start < text.size(); start = lineEnd(text, start)) {
        starts_.push_back(start);
    }
    starts_.push_back(text.size());
}

std::string_view LineIndex::line(std::size_t at) const {
    if (starts_.size() < 2) {
        return text_.substr(0, 0);
    }
    const std::size_t number = std::min(at, starts_.size() - 2);
    return text_.substr(starts_[number], starts_[number + 1] - starts_[number]);
}

std::string endingWithNewLine(std::string_view text) {
    const bool ends = (!text.empty() && text.back() >= '\n' && text.back() <= '\r') ||
                      text.ends_with("\xC2\x85") || text.ends_with("\xE2\x80\xA8") ||
                      text.ends_with("\xE2\x80\xA9");
    std::string result(text);
    if (!ends) {
        result += '\n';
    }
    return result;
}

std::optional<std::size_t> advanceCharacters(std::string_view text, std::size_t count) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = lineEnd(text, start);
        const LineCharacters line(text.substr(start, end - start));
        if (const auto position = line.advance(count)) {
            return start + *position;
        }
        count -= line.countBefore(end - start);
        start = end;
    }
    return count == 0 ? std::optional<std::size_t>(text.size()) : std::nullopt;
}

std::optional<std::size_t> charactersBefore(std::string_view text, std::size_t offset) {
    if (offset > text.size()) {
        return std::nullopt;
    }
    std::size_t total = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = lineEnd(text, start);
        const LineCharacters line(text.substr(start, end - start));
        if (offset < end || end == text.size()) {
            if (!line.isBoundary(offset - start)) {
                return std::nullopt;
            }
            return total + line.countBefore(offset - start);
        }
        total += line.countBefore(end - start);
        start = end;
    }
    return total;
}

std::optional<std::size_t> charactersBefore(std::u16string_view text, std::size_t offset) {
    if (offset > text.size()) {
        return std::nullopt;
    }
    // Character counts do not depend on the encoding: re-encode as UTF-8 (the whole text, since
    // whether a position is a boundary depends on what follows it) and count there.
    std::string converted;
    converted.reserve(text.size());
    std::size_t byteOffset = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (i == offset) {
            byteOffset = converted.size();
        }
        char32_t scalar = text[i];
        std::size_t units = 1;
        if (scalar >= 0xD800 && scalar <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            if (offset == i + 1) {
                return std::nullopt;
            }
            scalar = 0x10000 + ((scalar - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            units = 2;
        } else if (scalar >= 0xD800 && scalar <= 0xDFFF) {
            scalar = 0xFFFD;
        }
        utf8::append(converted, scalar);
        i += units;
    }
    if (offset == text.size()) {
        byteOffset = converted.size();
    }
    return charactersBefore(converted, byteOffset);
}

std::optional<std::size_t> advanceScalars(std::string_view text, std::size_t count) {
    std::size_t position = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (position >= text.size()) {
            return std::nullopt;
        }
        position += utf8::decode(text, position).length;
    }
    return position;
}

bool isCharacterBoundary(std::string_view text, std::size_t offset) {
    if (offset > text.size()) {
        return false;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = lineEnd(text, start);
        if (offset < end || end == text.size()) {
            return LineCharacters(text.substr(start, end - start)).isBoundary(offset - start);
        }
        start = end;
    }
    return true;
}

std::size_t utf16Length(std::string_view text) {
    return utf8::utf16Length(text);
}

std::optional<LineNumberColumnAndContents> lineNumberColumnAndContents(std::string_view text,
                                                                       std::size_t at) {
    const auto position = advanceCharacters(text, at);
    if (!position) {
        return std::nullopt;
    }
    std::size_t start = 0;
    for (std::size_t number = 0; start < text.size(); ++number) {
        const std::size_t end = lineEnd(text, start);
        if (*position < end || end == text.size()) {
            const std::string_view line = text.substr(start, end - start);
            return LineNumberColumnAndContents{
                number, utf16Length(line.substr(0, *position - start)), line};
        }
        start = end;
    }
    return LineNumberColumnAndContents{};
}

} // namespace quessel::yaml

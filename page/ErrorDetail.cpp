// Why a document does not load, in words, and the places in the listing the failure names.
#include "page/ErrorDetail.hpp"

#include "page/Decimal.hpp"
#include "yaml/Utf8.hpp"

#include <algorithm>
#include <set>

namespace quessel::page {
namespace {

using yaml::YamlError;

std::string where(std::int64_t line, std::int64_t column) {
    std::string text = "line ";
    appendDecimal(text, line);
    text.append(", column ");
    appendDecimal(text, column);
    return text;
}

// "1", "1 and 2", "1, 2 and 5".
std::string listed(const std::set<std::int64_t>& numbers) {
    std::string text;
    std::size_t index = 0;
    for (const std::int64_t number : numbers) {
        if (index != 0) {
            text.append(index + 1 == numbers.size() ? " and " : ", ");
        }
        appendDecimal(text, number);
        ++index;
    }
    return text;
}

std::string duplicatesDetail(const std::vector<YamlError::DuplicatedKey>& duplicates) {
    std::string text = duplicates.size() == 1 ? "found duplicate key " : "found duplicate keys ";
    for (std::size_t i = 0; i < duplicates.size(); ++i) {
        if (i != 0) {
            text.append("; ");
        }
        std::set<std::int64_t> lines;
        for (const yaml::Mark& mark : duplicates[i].occurrences) {
            lines.insert(mark.line);
        }
        text.push_back('"');
        text.append(duplicates[i].text);
        text.append(lines.size() == 1 ? "\" on line " : "\" on lines ");
        text.append(listed(lines));
    }
    return text;
}

// The position a description starts with ("3:7: error: ..."), if any.
std::optional<yaml::Mark> leadingPosition(std::string_view description) {
    const std::optional<std::int64_t> line = errorLineFromDescription(description);
    if (!line) {
        return std::nullopt;
    }
    const std::size_t columnStart = description.find(':') + 1;
    const std::optional<std::int64_t> column =
        errorLineFromDescription(description.substr(columnStart));
    if (!column) {
        return std::nullopt;
    }
    return yaml::Mark{*line, *column};
}

// Where each listed line starts; lines end at line feeds only, as the listing's do.
class ListedLines {
public:
    explicit ListedLines(std::string_view text) : text_(text) {
        starts_.push_back(0);
        for (std::size_t at = text.find('\n'); at != std::string_view::npos;
             at = text.find('\n', at + 1)) {
            starts_.push_back(at + 1);
        }
    }

    std::string_view line(std::int64_t number) const {
        const auto index = static_cast<std::size_t>(number - 1);
        const std::size_t start = starts_[index];
        const std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] - 1 : text_.size();
        return text_.substr(start, end - start);
    }

    bool holds(std::int64_t number) const {
        return number >= 1 && static_cast<std::size_t>(number) <= starts_.size();
    }

    // The mark of the character that `count` Unicode scalars of the line stand before, or
    // `count` UTF-16 units when `inUnits`.
    ErrorMark after(std::int64_t number, std::size_t count, bool inUnits) const {
        const std::string_view text = line(number);
        std::size_t at = 0;
        std::size_t scalars = 0;
        std::size_t units = 0;
        while ((inUnits ? units : scalars) < count && at < text.size()) {
            const yaml::utf8::Decoded decoded = yaml::utf8::decode(text, at);
            at += decoded.length;
            ++scalars;
            units += decoded.scalar > 0xFFFF ? 2 : 1;
        }
        return within(number, text, at, units);
    }

private:
    // A line break or the end is no character to mark: the mark stands after the line.
    static ErrorMark within(std::int64_t number, std::string_view text, std::size_t at,
                            std::size_t units) {
        if (at >= text.size() || text[at] == '\r') {
            return {number, std::nullopt};
        }
        return {number, units};
    }

    std::string_view text_;
    std::vector<std::size_t> starts_;
};

std::vector<ErrorMark> marksOf(const YamlError& error, std::string_view text) {
    const ListedLines lines(text);
    std::vector<ErrorMark> marks;
    const auto add = [&](const yaml::Mark& mark, bool units) {
        if (!lines.holds(mark.line) || mark.column < 1) {
            return;
        }
        marks.push_back(lines.after(mark.line, static_cast<std::size_t>(mark.column - 1), units));
    };
    if (error.kind() == YamlError::Kind::duplicatedKeysInMapping) {
        for (const YamlError::DuplicatedKey& key : error.duplicates()) {
            for (const yaml::Mark& mark : key.occurrences) {
                add(mark, false);
            }
        }
    } else if (error.kind() == YamlError::Kind::reader) {
        // A reader error's column counts UTF-16 units.
        if (const auto mark = leadingPosition(error.description())) {
            add(*mark, true);
        }
    } else if (error.mark()) {
        add(*error.mark(), false);
    }
    std::sort(marks.begin(), marks.end(), [](const ErrorMark& a, const ErrorMark& b) {
        return a.line != b.line ? a.line < b.line : a.unit < b.unit;
    });
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    return marks;
}

} // namespace

std::string errorDetail(const YamlError& error) {
    if (error.kind() == YamlError::Kind::duplicatedKeysInMapping) {
        return duplicatesDetail(error.duplicates());
    }
    if (error.problem().empty()) {
        return error.description();
    }
    std::string text = error.problem();
    if (const auto position = leadingPosition(error.description())) {
        text.append(" at ");
        text.append(where(position->line, position->column));
    }
    if (const auto& context = error.context()) {
        text.append(" (");
        text.append(context->text);
        text.append(" at ");
        text.append(where(context->mark.line, context->mark.column));
        text.push_back(')');
    }
    return text;
}

ErrorBanner bannerForYamlError(const YamlError& error, std::string_view text) {
    ErrorBanner banner = bannerForYamlError(error.description());
    banner.detail = errorDetail(error);
    banner.marks = marksOf(error, text);
    return banner;
}

} // namespace quessel::page

// What the page shows for text that does not load: the banner message and the numbered listing.
#include "page/ErrorListing.hpp"

#include "page/Decimal.hpp"
#include "page/HtmlEscape.hpp"

#include <charconv>

namespace quessel::page {
namespace {

// The marks on one line: the units before each marked character, and whether a mark lies
// beyond the line's end.
struct LineMarks {
    std::vector<std::size_t> units;
    bool atEnd = false;
    bool any() const { return atEnd || !units.empty(); }
};

void appendContentStart(std::string& out, const LineMarks& marks) {
    if (!marks.any()) {
        out.append(R"(<span class="line-content">)");
        return;
    }
    out.append(marks.atEnd ? R"(<span class="line-content error-end")"
                           : R"(<span class="line-content")");
    if (!marks.units.empty()) {
        out.append(R"( data-error-columns=")");
        for (std::size_t i = 0; i < marks.units.size(); ++i) {
            if (i != 0) {
                out.push_back(' ');
            }
            appendDecimal(out, marks.units[i]);
        }
        out.push_back('"');
    }
    out.push_back('>');
}

void appendLine(std::string& out, std::string_view line, std::int64_t number, bool marked,
                const LineMarks& marks = {}) {
    out.append(marked ? R"(<div class="raw-line error-line">)" : R"(<div class="raw-line">)");
    out.append(R"(<span class="line-number">)");
    appendDecimal(out, number);
    out.append("</span>");
    appendContentStart(out, marks);
    if (line.empty()) {
        out.append("&nbsp;"); // an empty line keeps its height
    } else {
        appendEscaped(out, line);
    }
    out.append("</span></div>");
}

} // namespace

// Digits other than ASCII ones cannot be parsed as a line number, so a description that starts
// with them names no line, exactly as if it started with text.
std::optional<std::int64_t> errorLineFromDescription(std::string_view description) {
    const std::size_t colon = description.find_first_not_of("0123456789");
    if (colon == 0 || colon == std::string_view::npos || description[colon] != ':') {
        return std::nullopt;
    }
    std::int64_t line = 0;
    const auto [end, error] = std::from_chars(description.data(), description.data() + colon, line);
    if (error != std::errc{} || end != description.data() + colon) {
        return std::nullopt; // too large for 64 bits
    }
    return line;
}

ErrorBanner bannerForYamlError(std::string_view description) {
    const std::optional<std::int64_t> line = errorLineFromDescription(description);
    if (!line) {
        return {"Syntax error in YAML", std::nullopt};
    }
    std::string message = "Syntax error on line ";
    appendDecimal(message, *line);
    return {std::move(message), line};
}

ErrorBanner bannerForOtherFailure() {
    return {"Unable to parse YAML", std::nullopt};
}

std::string renderRawWithLineNumbers(std::string_view text, std::optional<std::int64_t> errorLine) {
    std::string out;
    appendRawWithLineNumbers(out, text, errorLine);
    return out;
}

void appendRawWithLineNumbers(std::string& out, std::string_view text,
                              std::optional<std::int64_t> errorLine) {
    out.append(R"(<div class="raw-content">)");
    forEachListedLine(text, [&](std::int64_t number, std::string_view line) {
        appendLine(out, line, number, errorLine == number);
    });
    out.append("</div>");
}

void appendRawWithLineNumbers(std::string& out, std::string_view text, const ErrorBanner& banner) {
    out.append(R"(<div class="raw-content">)");
    auto mark = banner.marks.begin();
    forEachListedLine(text, [&](std::int64_t number, std::string_view line) {
        LineMarks marks;
        while (mark != banner.marks.end() && mark->line <= number) {
            if (mark->line == number) {
                if (mark->unit) {
                    marks.units.push_back(*mark->unit);
                } else {
                    marks.atEnd = true;
                }
            }
            ++mark;
        }
        appendLine(out, line, number, banner.errorLine == number || marks.any(), marks);
    });
    out.append("</div>");
}

} // namespace quessel::page

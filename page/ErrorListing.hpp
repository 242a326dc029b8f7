// What the page shows for text that does not load: the banner message and the numbered listing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quessel::page {

// A character of the listing that a failure names: its 1-based line, and how many UTF-16 units
// of that line stand before it; none when the place lies beyond the line's last character.
struct ErrorMark {
    std::int64_t line = 0;
    std::optional<std::size_t> unit;
    friend bool operator==(const ErrorMark&, const ErrorMark&) = default;
};

struct ErrorBanner {
    std::string message;
    // The 1-based line to mark in the listing, when the failure names one.
    std::optional<std::int64_t> errorLine;
    // The reason in words, shown under the banner; empty when there is none to give.
    std::string detail{};
    // The places to mark in the listing, in source order.
    std::vector<ErrorMark> marks{};
};

// The line number a YAML error description starts with ("3:7: error: ..." gives 3), if any.
std::optional<std::int64_t> errorLineFromDescription(std::string_view description);

// The banner for a YAML error with this description.
ErrorBanner bannerForYamlError(std::string_view description);

// The banner for a failure that is not a YAML error.
ErrorBanner bannerForOtherFailure();

// The raw text as numbered lines (split at line feeds only), `errorLine` marked.
std::string renderRawWithLineNumbers(std::string_view text, std::optional<std::int64_t> errorLine);
// Calls `line(number, text)` for each line of the listing, numbered from 1. Lines end at line
// feeds only, and a final line feed is followed by one more, empty line: every page lists the
// same lines.
template <typename LineFunction>
void forEachListedLine(std::string_view text, LineFunction line) {
    std::int64_t number = 1;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        line(number, text.substr(start, end == std::string_view::npos ? std::string_view::npos
                                                                      : end - start));
        if (end == std::string_view::npos) {
            return;
        }
        start = end + 1;
        ++number;
    }
}

void appendRawWithLineNumbers(std::string& out, std::string_view text,
                              std::optional<std::int64_t> errorLine);
// The listing with the failure's places: each named line marked as the error line is, and each
// named character given to the page's script (see the line content's data attribute).
void appendRawWithLineNumbers(std::string& out, std::string_view text, const ErrorBanner& banner);

} // namespace quessel::page

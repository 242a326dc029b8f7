// What the page shows for text that does not load: the banner message and the numbered listing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quessel::app {

struct ErrorBanner {
    std::string message;
    // The 1-based line to mark in the listing, when the failure names one.
    std::optional<std::int64_t> errorLine;
};

// The line number a YAML error description starts with ("3:7: error: ..." gives 3), if any.
std::optional<std::int64_t> errorLineFromDescription(std::string_view description);

// The banner for a YAML error with this description.
ErrorBanner bannerForYamlError(std::string_view description);

// The banner for a failure that is not a YAML error.
ErrorBanner bannerForOtherFailure();

// The raw text as numbered lines (split at line feeds only), `errorLine` marked.
std::string renderRawWithLineNumbers(std::string_view text, std::optional<std::int64_t> errorLine);
void appendRawWithLineNumbers(std::string& out, std::string_view text,
                              std::optional<std::int64_t> errorLine);

} // namespace quessel::app

// quessel-render's description against its parser: what the help and the manual page document
// is what the command line takes.
#include "manual/CommandManual.hpp"
#include "page/PageTemplate.hpp"
#include "render/RenderManual.hpp"
#include "render/RenderOptions.hpp"

#include <gtest/gtest.h>

#include <ranges>

namespace quessel::render {
namespace {

std::vector<std::string> split(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    for (const auto part : std::views::split(text, separator)) {
        parts.emplace_back(part.begin(), part.end());
    }
    return parts;
}

// A value for a placeholder: the only one the options have is the font size's N.
std::string valueFor(const std::string& alternative) {
    return alternative == "N" ? std::to_string(page::defaultFontSize) : alternative;
}

TEST(RenderManual, EveryDocumentedSpellingAndValueIsTaken) {
    for (const manual::Option& option : renderManual().options) {
        for (const std::string& name : split(option.names, ", ")) {
            if (option.argument.empty()) {
                EXPECT_NO_THROW(parseRenderArguments({name})) << name;
                continue;
            }
            for (const std::string& alternative : split(option.argument, "|")) {
                const std::string value = valueFor(alternative);
                EXPECT_NO_THROW(parseRenderArguments({name, value})) << name << ' ' << value;
            }
        }
    }
}

TEST(RenderManual, TheUsageShowsEveryOptionThatTakesAValue) {
    const std::string& usage = renderManual().usage.front();
    for (const manual::Option& option : renderManual().options) {
        if (!option.argument.empty()) {
            EXPECT_NE(usage.find('[' + option.names + ' ' + option.argument + ']'),
                      std::string::npos)
                << option.names;
        }
    }
}

} // namespace
} // namespace quessel::render

// The command line of quessel-render: what to render and how.
#pragma once

#include "page/Appearance.hpp"
#include "page/PageKind.hpp"
#include "page/PageTemplate.hpp"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quessel::render {

using page::Appearance;
using page::PageKind;

// The zoom range of the application: a page outside it is one the viewer never shows.
inline constexpr int smallestFontSize = 8;
inline constexpr int largestFontSize = 48;

struct RenderOptions {
    enum class Action { render, help, version };

    Action action = Action::render;
    Appearance appearance = Appearance::light;
    int fontSize = page::defaultFontSize;
    // Markup unless asked otherwise: an exported page then works in any browser, for its find,
    // printing and assistive technology.
    PageKind page = PageKind::markup;
    std::optional<std::string> file; // none: standard input
};

// A command line that cannot be obeyed; what() says why in one line.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The arguments after the program name. Options take their value as the next argument or
// after "="; "--" ends the options; "-" names standard input.
RenderOptions parseRenderArguments(const std::vector<std::string_view>& arguments);

} // namespace quessel::render

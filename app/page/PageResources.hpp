// The page's text resources, compiled in from app/page/page_style.css and page_script.js.
#pragma once

#include <string_view>

namespace quessel::app {

// The rules after the palette. The body's font size is written as `var(--page-font-size)`,
// which page generation replaces by the requested size in pixels.
extern const std::string_view pageStyleSheet;

// The inline script that closes every page: toggle, highlightMatches, navigateMatch.
extern const std::string_view pageScript;

} // namespace quessel::app

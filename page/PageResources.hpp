// The pages' text resources, compiled in from the style sheets and scripts in page/scripts and
// page/styles.
#pragma once

#include <string_view>

namespace quessel::page {

// The rules after the palette. The body's font size is written as `var(--page-font-size)`,
// which page generation replaces by the requested size in pixels.
extern const std::string_view pageStyleSheet;

// How both pages' searches mark a text node of the body; it runs first, in the scope of each
// page's script.
extern const std::string_view textMarksScript;

// The markup page's script: toggle, highlightMatches, navigateMatch.
extern const std::string_view pageScript;

// The virtualised page's rules, after the style sheet: row positioning and the pitch probe.
extern const std::string_view virtualStyleSheet;

// The virtualised page's scripts, run in one shared scope in this order: the rows (data,
// rendering, collapsing, copying) and the search over the rows' data.
extern const std::string_view virtualRowsScript;
extern const std::string_view virtualSearchScript;

} // namespace quessel::page

// A program's --help text, written from the table that also writes its manual page.
#pragma once

#include "manual/CommandManual.hpp"

#include <string>

namespace quessel::manual {

// The columns --help fills: a terminal's usual width.
inline constexpr std::size_t helpWidth = 80;

// Usage, description, options, exit statuses, environment, files and examples, wrapped to
// helpWidth columns; a section the table leaves empty is left out.
std::string helpText(const CommandManual& manual);

// The usage lines alone: what a program prints under a command line it cannot obey.
std::string usageText(const CommandManual& manual);

} // namespace quessel::manual

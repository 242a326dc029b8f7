// A program's manual page in roff (the man macros), written from the table that also writes its
// --help text.
#pragma once

#include "manual/CommandManual.hpp"

#include <string>
#include <string_view>

namespace quessel::manual {

// The page for section 1. `source` names the software in the page's footer ("Quessel 1.0.0");
// `date` is the page's date as it should appear.
std::string manualPage(const CommandManual& manual, std::string_view source, std::string_view date);

// `text` as roff input that prints as `text`: backslashes, minus signs and characters outside
// ASCII escaped, and each line kept from being read as a request. Line feeds stay line feeds.
std::string roffText(std::string_view text);

} // namespace quessel::manual

// quessel-render's command line described once, for its --help text and its manual page.
#pragma once

#include "manual/CommandManual.hpp"

namespace quessel::render {

const manual::CommandManual& renderManual();

} // namespace quessel::render

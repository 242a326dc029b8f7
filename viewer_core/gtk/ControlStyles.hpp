// The look of the shared controls (sizes, insets, backgrounds), installed once per display.
#pragma once

namespace quessel::core {

// Adds the controls' style sheet to the default display; later calls do nothing. Controls call
// it on construction, so a window built from them needs no setup of its own.
void installControlStyles();

} // namespace quessel::core

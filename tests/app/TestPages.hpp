// A page source for window tests: the real page frame and script around a simple line listing.
#pragma once

#include "app/YAMLWebView.hpp"

namespace quessel::testing {

// Each "key: value" line becomes a collapsible line with a .key span and a .content span, inside
// the page's real frame, style and script; the appearance is the platform's.
app::YAMLWebView::PageSource testPages();

} // namespace quessel::testing

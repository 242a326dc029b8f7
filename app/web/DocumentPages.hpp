// The application's page source: page generation for the appearance the window asks for.
#pragma once

#include "app/web/YAMLWebView.hpp"

namespace quessel::app::web {

// Generates each page for the appearance passed in, which the window reads from the platform
// on the main thread, choosing the page kind by the document's size; safe to call on any
// thread.
YAMLWebView::PageSource documentPages();

} // namespace quessel::app::web

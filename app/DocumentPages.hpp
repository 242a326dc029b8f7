// The application's page source: page generation with the platform's appearance.
#pragma once

#include "app/YAMLWebView.hpp"

namespace quessel::app {

// Generates each page with the appearance the application has at that moment.
YAMLWebView::PageSource documentPages();

} // namespace quessel::app

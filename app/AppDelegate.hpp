// The application's delegate: the shared viewer delegate, which Quessel uses as it is.
#pragma once

#include "viewer_core/gtk/ViewerAppDelegate.hpp"

namespace quessel::app {

using AppDelegate = core::ViewerAppDelegate;

} // namespace quessel::app

// The application's delegate: the shared viewer delegate, unchanged.
#pragma once

#include "viewer_core/gtk/ViewerAppDelegate.hpp"

namespace quessel::app {

class AppDelegate : public core::ViewerAppDelegate {
public:
    using ViewerAppDelegate::ViewerAppDelegate;
};

} // namespace quessel::app

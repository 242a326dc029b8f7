// The application's document model: the shared viewer model with Quessel's recent-files key.
#pragma once

#include "viewer_core/ViewerAppState.hpp"

namespace quessel::app {

class AppState : public core::ViewerAppState {
public:
    static constexpr const char* recentFilesKey = "recentFiles";
    static constexpr int maxRecentFiles = 5;

    AppState() : ViewerAppState(recentFilesKey, maxRecentFiles) {}
};

} // namespace quessel::app

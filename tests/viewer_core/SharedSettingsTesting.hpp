// Test access to SharedSettings: a fresh instance per test over that test's configuration folder.
#pragma once

#include "viewer_core/SharedSettings.hpp"

#include <memory>

namespace quessel::core {

// The settings a process would get from shared(), built anew: shared() itself is made once per
// process, and a test needs the store of its own configuration folder.
struct SharedSettingsTesting {
    static std::unique_ptr<SharedSettings> make(std::string_view suiteName = viewerAppGroup) {
        return std::unique_ptr<SharedSettings>(new SharedSettings(suiteName));
    }
};

} // namespace quessel::core

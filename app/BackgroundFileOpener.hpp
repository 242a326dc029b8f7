// Opening files without reading them on the main thread.
#pragma once

#include "app/BackgroundWork.hpp"
#include "viewer_core/FileUrl.hpp"
#include "viewer_core/ViewerAppState.hpp"

#include <sigc++/signal.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace quessel::app {

// Reads a file on a worker thread (see BackgroundWork) and has the document model complete the
// open on the main thread. A newer open supersedes a read under way. A read that ends after the
// user has moved on is dropped (the model shows another file, or none, than when it began), and
// one that ends after edits made meanwhile asks before they go.
class BackgroundFileOpener {
public:
    using Read = std::function<core::ViewerAppState::ReadOutcome(const core::FileUrl&)>;
    // Runs `then` once unsaved changes may go: at once, or after asking the user.
    using Settle = std::function<void(std::function<void()> then)>;

    // `read` runs on a worker thread; by default the model's own reading.
    BackgroundFileOpener(core::ViewerAppState& appState, Settle settle,
                         Read read = &core::ViewerAppState::readForOpen);

    void open(const core::FileUrl& url);
    // Drops a read under way.
    void cancel();

    // The file being read, until the model has it or the read is dropped.
    const std::optional<core::FileUrl>& opening() const noexcept { return opening_; }
    sigc::signal<void()>& signalOpeningChanged() noexcept { return openingChanged_; }

private:
    struct Outcome {
        core::FileUrl url;
        core::ViewerAppState::ReadOutcome read;
    };

    void finish(Outcome outcome);
    void setOpening(std::optional<core::FileUrl> url);

    core::ViewerAppState& appState_;
    Settle settle_;
    Read read_;
    std::optional<core::FileUrl> opening_;
    // The model as the read began: its file and its text's generation.
    std::optional<core::FileUrl> fileAtStart_;
    std::uint64_t generationAtStart_ = 0;
    sigc::signal<void()> openingChanged_;
    // Last, so that it goes first: no outcome arrives for an opener being taken down.
    BackgroundWork<Outcome> work_;
};

} // namespace quessel::app

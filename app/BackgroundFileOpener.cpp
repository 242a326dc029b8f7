// Opening files without reading them on the main thread.
#include "app/BackgroundFileOpener.hpp"

#include <memory>

namespace quessel::app {

BackgroundFileOpener::BackgroundFileOpener(core::ViewerAppState& appState, Settle settle, Read read)
    : appState_(appState), settle_(std::move(settle)),
      read_(read ? std::move(read) : &core::ViewerAppState::readForOpen),
      work_([this](Outcome outcome) { finish(std::move(outcome)); }) {}

void BackgroundFileOpener::open(const core::FileUrl& url) {
    fileAtStart_ = appState_.fileURL();
    generationAtStart_ = appState_.contentGeneration();
    work_.start([read = read_, url](const std::atomic<bool>&) { return Outcome{url, read(url)}; });
    setOpening(url);
}

void BackgroundFileOpener::cancel() {
    work_.cancel();
    setOpening(std::nullopt);
}

void BackgroundFileOpener::finish(Outcome outcome) {
    setOpening(std::nullopt);
    if (appState_.fileURL() != fileAtStart_) {
        // Another file was opened, or this one closed, while it was being read.
        return;
    }
    const bool read = std::holds_alternative<core::LoadedText>(outcome.read);
    auto complete = [this, outcome = std::make_shared<Outcome>(std::move(outcome))] {
        appState_.completeOpen(outcome->url, std::move(outcome->read));
    };
    if (read && appState_.contentGeneration() != generationAtStart_ && settle_) {
        // Edits made while the file was being read would go unasked otherwise.
        settle_(complete);
    } else {
        complete();
    }
}

void BackgroundFileOpener::setOpening(std::optional<core::FileUrl> url) {
    if (opening_ == url) {
        return;
    }
    opening_ = std::move(url);
    openingChanged_.emit();
}

} // namespace quessel::app

// Page generation on worker threads, so that a large document never stalls the window.
#include "app/web/BackgroundPageBuilder.hpp"

namespace quessel::app::web {

BackgroundPageBuilder::BackgroundPageBuilder(PageSource source, Delivery delivery)
    : source_(std::move(source)), work_(std::move(delivery)) {}

void BackgroundPageBuilder::request(std::shared_ptr<const std::string> content, int fontSize,
                                    page::Appearance appearance) {
    if (!content) {
        content = std::make_shared<const std::string>();
    }
    work_.start([source = source_, content = std::move(content), fontSize,
                 appearance](const std::atomic<bool>& cancelled) -> page::GeneratedPage {
        if (cancelled || !source) {
            return {};
        }
        try {
            return source(*content, fontSize, appearance);
        } catch (...) {
            // The application's generation turns every failure into a page of its own; any
            // other source that throws leaves a blank page rather than the previous document.
            return {};
        }
    });
}

} // namespace quessel::app::web

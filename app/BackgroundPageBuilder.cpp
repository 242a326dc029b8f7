// Page generation on worker threads, so that a large document never stalls the window.
#include "app/BackgroundPageBuilder.hpp"

namespace quessel::app {

BackgroundPageBuilder::BackgroundPageBuilder(PageSource source, Delivery delivery,
                                             std::string dataAddressPrefix)
    : source_(std::move(source)), dataAddressPrefix_(std::move(dataAddressPrefix)),
      work_(std::move(delivery)) {}

void BackgroundPageBuilder::request(std::shared_ptr<const std::string> content, int fontSize,
                                    Appearance appearance) {
    if (!content) {
        content = std::make_shared<const std::string>();
    }
    std::string address;
    if (!dataAddressPrefix_.empty()) {
        address = dataAddressPrefix_ + std::to_string(++serial_);
    }
    work_.start([source = source_, content = std::move(content), fontSize, appearance,
                 address = std::move(address)](const std::atomic<bool>& cancelled) -> DetachedPage {
        if (cancelled || !source) {
            return DetachedPage{};
        }
        try {
            std::string html = source(*content, fontSize, appearance);
            if (address.empty() || cancelled) {
                return DetachedPage{std::move(html), std::nullopt, {}};
            }
            return detachPageData(std::move(html), address);
        } catch (...) {
            // The application's generation turns every failure into a page of its own; any
            // other source that throws leaves a blank page rather than the previous document.
            return DetachedPage{};
        }
    });
}

} // namespace quessel::app

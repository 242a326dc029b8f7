// Page generation on worker threads, so that a large document never stalls the window.
#include "app/web/BackgroundPageBuilder.hpp"

namespace quessel::app::web {

BackgroundPageBuilder::BackgroundPageBuilder(PageSource source, Delivery delivery,
                                             std::string dataAddressPrefix)
    : source_(std::move(source)), dataAddressPrefix_(std::move(dataAddressPrefix)),
      work_(std::move(delivery)) {}

void BackgroundPageBuilder::request(std::shared_ptr<const std::string> content, int fontSize,
                                    page::Appearance appearance) {
    if (!content) {
        content = std::make_shared<const std::string>();
    }
    std::string address;
    if (!dataAddressPrefix_.empty()) {
        address = dataAddressPrefix_ + std::to_string(++serial_);
    }
    work_.start(
        [source = source_, content = std::move(content), fontSize, appearance,
         address = std::move(address)](const std::atomic<bool>& cancelled) -> page::DetachedPage {
            if (cancelled || !source) {
                return page::DetachedPage{};
            }
            try {
                std::string html = source(*content, fontSize, appearance);
                if (address.empty() || cancelled) {
                    return page::DetachedPage{std::move(html), std::nullopt, {}};
                }
                return page::detachPageData(std::move(html), address);
            } catch (...) {
                // The application's generation turns every failure into a page of its own; any
                // other source that throws leaves a blank page rather than the previous document.
                return page::DetachedPage{};
            }
        });
}

} // namespace quessel::app::web

// Document text and a font size in, one complete self-contained HTML page out.
#include "page/PageGenerator.hpp"

#include "page/ErrorDetail.hpp"
#include "page/MarkupPage.hpp"
#include "page/VirtualPage.hpp"
#include "yaml/Load.hpp"

namespace quessel::page {

PageGenerator::PageGenerator(AppearanceSource appearance, PageKind kind)
    : appearance_(std::move(appearance)), kind_(kind) {}

GeneratedPage PageGenerator::generate(std::string_view content, int fontSize) const {
    const Appearance appearance = appearance_ ? appearance_() : Appearance::light;
    PageContent page{content, nullptr, std::nullopt, nullptr};
    try {
        // A stream of one document is shown as that document; only several get headers.
        const std::vector<yaml::YamlValue> documents = yaml::loadAll(content);
        if (documents.size() == 1) {
            page.value = &documents.front();
        } else if (documents.size() > 1) {
            page.documents = &documents;
        }
        return writePage(page, appearance, fontSize);
    } catch (const yaml::YamlError& error) {
        page.failure = bannerForYamlError(error, content);
    } catch (...) {
        // Anything else, running out of memory while rendering included, still gives the
        // user the text and a reason rather than an empty view.
        page.failure = bannerForOtherFailure();
    }
    page.value = nullptr;
    page.documents = nullptr;
    return writePage(page, appearance, fontSize);
}

GeneratedPage PageGenerator::writePage(const PageContent& page, Appearance appearance,
                                       int fontSize) const {
    switch (kind_) {
    case PageKind::markup:
        break;
    case PageKind::virtualised:
        return writeVirtualPage(page, appearance, fontSize);
    case PageKind::automatic:
        // The lines are counted while the markup is written: a page over the threshold is
        // given up after at most that many lines.
        if (std::optional<std::string> markup =
                writeMarkupPageWithin(page, appearance, fontSize, virtualPageThreshold)) {
            return {std::move(*markup), std::nullopt, 0};
        }
        return writeVirtualPage(page, appearance, fontSize);
    }
    return {writeMarkupPage(page, appearance, fontSize), std::nullopt, 0};
}

} // namespace quessel::page

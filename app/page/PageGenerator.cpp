// Document text and a font size in, one complete self-contained HTML page out.
#include "app/page/PageGenerator.hpp"

#include "app/page/MarkupPage.hpp"
#include "yaml/Load.hpp"

namespace quessel::app {

PageGenerator::PageGenerator(AppearanceSource appearance) : appearance_(std::move(appearance)) {}

std::string PageGenerator::generateHTML(std::string_view content, int fontSize) const {
    const Appearance appearance = appearance_ ? appearance_() : Appearance::light;
    PageContent page{content, nullptr, std::nullopt};
    try {
        const std::optional<yaml::YamlValue> value = yaml::load(content);
        page.value = value ? &*value : nullptr;
        return writeMarkupPage(page, appearance, fontSize);
    } catch (const yaml::YamlError& error) {
        page.failure = bannerForYamlError(error.description());
    } catch (...) {
        // Anything else, running out of memory while rendering included, still gives the
        // user the text and a reason rather than an empty view.
        page.failure = bannerForOtherFailure();
    }
    page.value = nullptr;
    return writeMarkupPage(page, appearance, fontSize);
}

} // namespace quessel::app

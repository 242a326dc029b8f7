// Test fixture: generated pages in the real web engine, driven the way the host drives them.
#include "tests/page/support/PageFixture.hpp"

#include "page/MarkupPage.hpp"
#include "page/PageGenerator.hpp"

namespace quessel::page::test {

void PageFixture::SetUp() {
    ASSERT_NE(gdk_display_get_default(), nullptr) << "no display: run under scripts/with-display";
    harness_ = std::make_unique<WebPageHarness>();
}

void PageFixture::loadValue(const yaml::YamlValue& value, int fontSize, Appearance appearance) {
    loadPage(writeMarkupPage(PageContent{"", &value, std::nullopt}, appearance, fontSize));
}

void PageFixture::loadFailure(std::string_view text, std::string_view description) {
    loadPage(writeMarkupPage(PageContent{text, nullptr, bannerForYamlError(description)},
                             Appearance::light, 14));
}

void PageFixture::loadDocument(std::string_view yaml, int fontSize) {
    loadPage(PageGenerator([] { return Appearance::light; }).generateHTML(yaml, fontSize));
}

void PageFixture::loadDocumentAs(std::string_view yaml, PageKind kind) {
    loadPage(PageGenerator([] { return Appearance::light; }, kind).generateHTML(yaml, 14));
}

void PageFixture::loadPage(std::string_view html) {
    ASSERT_TRUE(harness_->load(html)) << "the page did not finish loading";
}

MatchUpdate PageFixture::search(std::string_view text) {
    return nextMatchUpdate("highlightMatches('" + scriptLiteral(text) + "')");
}

MatchUpdate PageFixture::search(std::string_view text, int current) {
    return nextMatchUpdate("highlightMatches('" + scriptLiteral(text) + "', " +
                           std::to_string(current) + ")");
}

MatchUpdate PageFixture::navigate(bool forward) {
    return nextMatchUpdate(forward ? "navigateMatch(true)" : "navigateMatch(false)");
}

MatchUpdate PageFixture::nextMatchUpdate(std::string_view call) {
    const std::size_t before = harness_->matchUpdates().size();
    script(call);
    if (!harness_->waitForMatchUpdates(before + 1)) {
        ADD_FAILURE() << call << " sent no matchUpdate";
        return {-1, -1, "", {}, false};
    }
    return harness_->matchUpdates().back();
}

std::string PageFixture::script(std::string_view text) {
    const std::optional<std::string> result = harness_->evaluate(text);
    if (!result) {
        ADD_FAILURE() << "script failed: " << text;
        return "<failed>";
    }
    return *result;
}

std::string PageFixture::currentMarkPositions() {
    return script("Array.from(document.querySelectorAll('mark.highlight')).flatMap("
                  "(m, i) => m.classList.contains('current') ? [i] : [])");
}

std::string scriptLiteral(std::string_view text) {
    std::string literal;
    for (const char c : text) {
        if (c == '\\' || c == '\'') {
            literal.push_back('\\');
        }
        literal.push_back(c);
    }
    return literal;
}

} // namespace quessel::page::test

// Test fixture: generated pages in the real web engine, driven the way the host drives them.
#pragma once

#include "page/Appearance.hpp"
#include "page/PageKind.hpp"
#include "tests/page/support/ValueBuilders.hpp"
#include "tests/page/support/WebPageHarness.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

namespace quessel::page::test {

class PageFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // Writes the page of a loaded value, or of a failure with this description, and loads it.
    void loadValue(const yaml::YamlValue& value, int fontSize = 14,
                   Appearance appearance = Appearance::light);
    void loadFailure(std::string_view text, std::string_view description);
    // Generates the page of YAML text, as the host does, and loads it.
    void loadDocument(std::string_view yaml, int fontSize = 14);
    // The page of this kind for YAML text (a scalar or empty document is always markup).
    void loadDocumentAs(std::string_view yaml, PageKind kind);
    void loadPage(std::string_view html);

    // highlightMatches / navigateMatch as the host calls them; the reply they produce.
    MatchUpdate search(std::string_view text);
    // highlightMatches with the current match kept from the page before, as the host calls it
    // after loading a new page of the same file.
    MatchUpdate search(std::string_view text, int current);
    MatchUpdate navigate(bool forward);

    // The script's result as JSON; a failed evaluation fails the test.
    std::string script(std::string_view text);

    // The positions of the marks that carry `current`, among all marks, as a JSON array.
    std::string currentMarkPositions();

    WebPageHarness& harness() { return *harness_; }

    static constexpr std::string_view countTextNodes =
        "(() => { const walker = document.createTreeWalker(document.body, "
        "NodeFilter.SHOW_TEXT); let n = 0; while (walker.nextNode()) n++; return n; })()";

private:
    MatchUpdate nextMatchUpdate(std::string_view call);

    std::unique_ptr<WebPageHarness> harness_;
};

// The search text as a single-quoted script literal: backslashes doubled, then apostrophes
// escaped, as the host writes it.
std::string scriptLiteral(std::string_view text);

} // namespace quessel::page::test

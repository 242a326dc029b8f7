// The page's styles as the real web engine applies them: palette, sizes, listing and marks.
#include "tests/app/support/PageFixture.hpp"

#include <gtest/gtest.h>

namespace quessel::app::test {
namespace {

using yaml::Sequence;

class PageStyle : public PageFixture {
protected:
    // The computed value, without the JSON quotes.
    std::string style(std::string_view selector, std::string_view property) {
        const std::string json =
            script("getComputedStyle(document.querySelector('" + std::string(selector) +
                   "')).getPropertyValue('" + std::string(property) + "')");
        return json.size() >= 2 ? json.substr(1, json.size() - 2) : json;
    }
};

TEST_F(PageStyle, LightAndDarkPalettesColourTheBackgroundAndKeys) {
    const yaml::YamlValue value = mappingOf({{"k", Sequence{"v"}}});
    loadValue(value, 14, Appearance::light);
    EXPECT_EQ(style("body", "background-color"), "rgb(255, 255, 255)");
    EXPECT_EQ(style(".key", "color"), "rgb(136, 19, 145)");
    loadValue(value, 14, Appearance::dark);
    EXPECT_EQ(style("body", "background-color"), "rgb(30, 30, 30)");
    EXPECT_EQ(style(".key", "color"), "rgb(197, 134, 192)");
}

TEST_F(PageStyle, TheFontSizeReachesTheTreeButNotTheFixedSizes) {
    loadValue(mappingOf({{"k", Sequence{"v"}}}), 20);
    EXPECT_EQ(style(".key", "font-size"), "20px");
    EXPECT_EQ(style(".toggle", "font-size"), "11px");
    EXPECT_EQ(style(".collapsed-preview", "font-size"), "12px");
    script("document.body.style.fontSize = '30px'");
    EXPECT_EQ(style(".string", "font-size"), "30px");
}

TEST_F(PageStyle, TheBannerKeepsItsSizeAndTheErrorLineIsHighlighted) {
    loadFailure("a: 1\nb: [\n", "2:4: error: ...");
    EXPECT_EQ(style(".error-banner", "font-size"), "14px");
    EXPECT_EQ(style(".error-line", "background-color"), "rgba(255, 193, 7, 0.85)");
    EXPECT_EQ(style(".error-line .line-number", "font-weight"), "700");
    EXPECT_EQ(style(".line-content", "white-space"), "pre-wrap");
}

TEST_F(PageStyle, MarksTakeTheHighlightColours) {
    loadValue(Sequence{"ab", "ab"});
    search("ab");
    EXPECT_EQ(style("mark.current", "background-color"), "rgba(255, 193, 7, 0.85)");
    EXPECT_EQ(style("mark:not(.current)", "background-color"), "rgba(255, 235, 59, 0.5)");
}

} // namespace
} // namespace quessel::app::test

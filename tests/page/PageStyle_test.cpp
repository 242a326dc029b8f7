// The page's styles as the real web engine applies them: palette, sizes, listing and marks.
#include "tests/page/support/PageFixture.hpp"

#include <gtest/gtest.h>

namespace quessel::page::test {
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

// Mappings and sequences by turns, `levels` deep; every collection holds a collapsible line (the
// next level) and an inline line, so that each depth has both kinds of line.
yaml::YamlValue nestedBothKinds(int levels) {
    yaml::YamlValue value = Sequence{"bottom"};
    for (int level = levels - 1; level >= 0; --level) {
        if (level % 2 == 0) {
            value = mappingOf({{"inner", std::move(value)}, {"leaf", "x"}});
        } else {
            value = Sequence{std::move(value), "x"};
        }
    }
    return value;
}

// For every line: [depth, collapsible, left of its toggle or label, left of its key or dash],
// the depth counted in line elements around it, the positions relative to the first toggle.
constexpr std::string_view lineGeometry = R"((() => {
    const origin = document.querySelector('.toggle').getBoundingClientRect().left;
    return [...document.querySelectorAll('.line')].map(line => {
        let depth = 0;
        for (let e = line.parentElement; e; e = e.parentElement) {
            if (e.classList.contains('line')) depth++;
        }
        const label = [...line.children].find(c => c.classList.contains('key') ||
                                                   c.classList.contains('bracket'));
        return [depth, line.firstElementChild.classList.contains('toggle'),
                line.firstElementChild.getBoundingClientRect().left - origin,
                label.getBoundingClientRect().left - origin];
    });
})())";

TEST_F(PageStyle, EveryLevelSitsSixteenPixelsRightOfItsParent) {
    constexpr int levels = 21;
    loadValue(nestedBothKinds(levels));
    const std::string geometry = script(lineGeometry);
    // The JSON array of arrays, read as numbers: [depth, collapsible, start, label, ...].
    std::vector<double> numbers;
    for (std::size_t at = 0; at < geometry.size();) {
        const std::size_t start = geometry.find_first_of("-0123456789tf", at);
        if (start == std::string::npos) {
            break;
        }
        const std::size_t end = geometry.find_first_of(",]", start);
        const std::string item = geometry.substr(start, end - start);
        numbers.push_back(item == "true" ? 1 : item == "false" ? 0 : std::stod(item));
        at = end;
    }
    ASSERT_EQ(numbers.size(), 4U * (2 * levels + 1)) << geometry;
    std::vector<double> keyOrDash(levels + 1, -1);
    for (std::size_t line = 0; line < numbers.size(); line += 4) {
        const int depth = static_cast<int>(numbers[line]);
        const bool collapsible = numbers[line + 1] != 0;
        const double startsAt = numbers[line + 2];
        const double labelAt = numbers[line + 3];
        EXPECT_EQ(startsAt, 16.0 * depth + (collapsible ? 0 : 16))
            << "depth " << depth << (collapsible ? " collapsible" : " inline");
        // Keys and dashes of both kinds of line stand in one column per depth.
        if (keyOrDash[depth] < 0) {
            keyOrDash[depth] = labelAt;
        }
        EXPECT_NEAR(labelAt, keyOrDash[depth], 2.0) << "depth " << depth;
        if (depth > 0) {
            EXPECT_NEAR(keyOrDash[depth] - keyOrDash[depth - 1], 16.0, 2.0) << "depth " << depth;
        }
    }
}

} // namespace
} // namespace quessel::page::test

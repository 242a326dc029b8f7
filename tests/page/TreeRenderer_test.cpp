// Tree markup: dispatch by kind, entry lines, collapse toggles, key order and node ids.
#include "page/NodeIdSource.hpp"
#include "page/TreeRenderer.hpp"
#include "tests/page/support/ValueBuilders.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>

namespace quessel::page {
namespace {

using namespace yaml;
using test::mappingOf;

std::string render(const YamlValue& value, std::ptrdiff_t indent = 0) {
    return TreeRenderer().renderYAML(value, indent);
}

// Ids are random; the markup around them is what the tests pin down.
std::string maskIds(const std::string& markup) {
    static const std::regex id("[0-9A-F]{8}-([0-9]+)");
    return std::regex_replace(markup, id, "ID-$1");
}

std::string inlineLine(int pixels, const std::string& label, const std::string& child) {
    return R"(<div class="line" style="padding-left:)" + std::to_string(pixels) + R"(px">)" +
           label + child + "</div>";
}

std::string collapsibleLine(int pixels, const std::string& id, const std::string& label, int count,
                            const std::string& child) {
    return R"(<div class="line" style="padding-left:)" + std::to_string(pixels) +
           R"(px"><span class="toggle" id="toggle-)" + id + R"(" onclick="toggle(')" + id +
           R"x(')">▼</span>)x" + label + R"(<span class="collapsed-preview" id="preview-)" + id +
           R"(">)" + std::to_string(count) + R"( items</span><span class="content" id="content-)" +
           id + R"(">)" + child + "</span></div>";
}

std::string key(const std::string& text) {
    return R"(<span class="key">)" + text + "</span>";
}
const std::string dash = R"(<span class="bracket">-</span>)";
std::string string(const std::string& text) {
    return R"(<span class="string">)" + text + "</span>";
}
std::string number(const std::string& text) {
    return R"(<span class="number">)" + text + "</span>";
}

TEST(TreeRendererScalars, EachKindGetsItsSpan) {
    EXPECT_EQ(render("hello"), R"(<span class="string">hello</span>)");
    EXPECT_EQ(render(true), R"(<span class="boolean">true</span>)");
    EXPECT_EQ(render(false), R"(<span class="boolean">false</span>)");
    EXPECT_EQ(render(std::int64_t{-42}), number("-42"));
    EXPECT_EQ(render(std::int64_t{INT64_MIN}), number("-9223372036854775808"));
    EXPECT_EQ(render(Null{}), R"(<span class="null">null</span>)");
    EXPECT_EQ(render("42"), string("42")) << "a quoted number stays a string";
}

TEST(TreeRendererScalars, FloatsUseSixteenSignificantDigits) {
    EXPECT_EQ(render(1.0), number("1"));
    EXPECT_EQ(render(0.5), number("0.5"));
    EXPECT_EQ(render(2.50), number("2.5"));
    EXPECT_EQ(render(0.1), number("0.1"));
    EXPECT_EQ(render(1e20), number("1e+20"));
    EXPECT_EQ(render(0.00001), number("1e-05"));
    EXPECT_EQ(render(1e15), number("1000000000000000"));
    EXPECT_EQ(render(1e16), number("1e+16"));
    EXPECT_EQ(render(-0.0), number("-0"));
    EXPECT_EQ(render(1.0 / 3.0), number("0.3333333333333333"));
}

// A numeric locale with a decimal comma, as a German desktop session has. The system need not
// have one installed, so it is built with localedef into a temporary directory.
class CommaDecimalLocale {
public:
    CommaDecimalLocale() {
        char pattern[] = "/tmp/quessel-locale-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            return;
        }
        directory_ = pattern;
        const std::string command =
            "localedef -i de_DE -f UTF-8 " + directory_.string() + "/de_DE.UTF-8 >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) {
            return;
        }
        setenv("LOCPATH", directory_.c_str(), 1);
        active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;
    ~CommaDecimalLocale() {
        std::setlocale(LC_NUMERIC, "C");
        unsetenv("LOCPATH");
        if (!directory_.empty()) {
            std::filesystem::remove_all(directory_);
        }
    }

    bool active() const { return active_; }

private:
    std::filesystem::path directory_;
    bool active_ = false;
};

TEST(TreeRendererScalars, FloatsKeepTheirDecimalPointInAnyLocale) {
    const CommaDecimalLocale locale;
    if (!locale.active()) {
        GTEST_SKIP() << "localedef could not build de_DE.UTF-8 (package locales)";
    }
    char check[8];
    std::snprintf(check, sizeof check, "%.1f", 1.5);
    ASSERT_STREQ(check, "1,5") << "the locale is not in effect";
    EXPECT_EQ(render(1.5), number("1.5"));
    EXPECT_EQ(render(-2.25e-7), number("-2.25e-07"));
}

TEST(TreeRendererScalars, NonFiniteFloatsAreSpelledOut) {
    EXPECT_EQ(render(std::numeric_limits<double>::infinity()), number("inf"));
    EXPECT_EQ(render(-std::numeric_limits<double>::infinity()), number("-inf"));
    EXPECT_EQ(render(std::numeric_limits<double>::quiet_NaN()), number("nan"));
    EXPECT_EQ(render(-std::numeric_limits<double>::quiet_NaN()), number("nan"));
}

TEST(TreeRendererScalars, OtherKindsShowTheirDescriptionAsAString) {
    EXPECT_EQ(render(Timestamp{1008385183, 100'000'000}), string("2001-12-15 02:59:43 +0000"));
    EXPECT_EQ(render(Data{std::vector<std::uint8_t>(12, 0)}), string("12 bytes"));
    const std::string set = render(Set{"a", "b"});
    EXPECT_TRUE(set == string("{a, b}") || set == string("{b, a}")) << set;
    EXPECT_EQ(render(Pair{BoxedValue("k"), BoxedValue(std::int64_t{1})}), string("(k, 1)"));
    EXPECT_EQ(render(Pair{BoxedValue("<k>"), BoxedValue(Sequence{"a", "b"})}),
              string("(&lt;k&gt;, [a, b])"));
}

TEST(TreeRendererScalars, DocumentTextIsEscapedButKeepsItsWhitespace) {
    EXPECT_EQ(render(R"(<b>"x" & 'y'</b>)"),
              string("&lt;b&gt;&quot;x&quot; &amp; &#39;y&#39;&lt;/b&gt;"));
    EXPECT_EQ(render("two\nlines  "), string("two\nlines  "));
    EXPECT_EQ(render(mappingOf({{"<k>", std::int64_t{1}}})),
              inlineLine(16, key("&lt;k&gt;") + ": ", number("1")));
}

TEST(TreeRendererCollections, EmptyCollectionsAreBracketsWithoutALine) {
    EXPECT_EQ(render(Mapping{}), R"(<span class="bracket">{}</span>)");
    EXPECT_EQ(render(Sequence{}), R"(<span class="bracket">[]</span>)");
    EXPECT_EQ(maskIds(render(mappingOf({{"a", Mapping{}}}))),
              inlineLine(16, key("a") + ": ", R"(<span class="bracket">{}</span>)"));
    EXPECT_EQ(maskIds(render(Sequence{Sequence{}})),
              inlineLine(16, dash + " ", R"(<span class="bracket">[]</span>)"));
}

TEST(TreeRendererCollections, CollapsibleEntriesHoldTheirChildLines) {
    const YamlValue value = mappingOf({{"b", std::int64_t{1}}, {"a", Sequence{"x", "y"}}});
    const std::string children =
        inlineLine(32, dash + " ", string("x")) + inlineLine(32, dash + " ", string("y"));
    EXPECT_EQ(maskIds(render(value)), collapsibleLine(0, "ID-0", key("a") + ":", 2, children) +
                                          inlineLine(16, key("b") + ": ", number("1")));
}

TEST(TreeRendererCollections, SequencesOfSequencesShowDashesWithoutKeys) {
    const YamlValue value = Sequence{Sequence{std::int64_t{1}}, "z"};
    EXPECT_EQ(maskIds(render(value)),
              collapsibleLine(0, "ID-0", dash, 1, inlineLine(32, dash + " ", number("1"))) +
                  inlineLine(16, dash + " ", string("z")));
}

// A nested line sits inside its parent line, so each line pads one level beyond its parent's
// and the depths add up to 16 px per level.
TEST(TreeRendererCollections, EachLinePadsOneLevelBeyondItsParent) {
    const YamlValue value =
        mappingOf({{"a", mappingOf({{"b", mappingOf({{"c", Null{}}})}, {"d", Sequence{}}})}});
    const std::string c = inlineLine(32, key("c") + ": ", R"(<span class="null">null</span>)");
    const std::string b = collapsibleLine(16, "ID-0", key("b") + ":", 1, c) +
                          inlineLine(32, key("d") + ": ", R"(<span class="bracket">[]</span>)");
    EXPECT_EQ(maskIds(render(value)), collapsibleLine(0, "ID-0", key("a") + ":", 2, b));
    for (const std::ptrdiff_t indent : {1, 2, 40}) {
        EXPECT_EQ(maskIds(render(value, indent)).substr(0, 50),
                  R"(<div class="line" style="padding-left:16px"><span )")
            << indent;
    }
}

TEST(TreeRendererOrder, KeysSortByCodePointCaseSensitively) {
    const YamlValue value = mappingOf({{"Zeta", std::int64_t{1}},
                                       {"alpha", std::int64_t{2}},
                                       {"Beta", std::int64_t{3}},
                                       {"9", std::int64_t{4}},
                                       {"10", std::int64_t{5}}});
    const std::string markup = render(value);
    std::vector<std::size_t> positions;
    for (const char* name : {">10<", ">9<", ">Beta<", ">Zeta<", ">alpha<"}) {
        positions.push_back(markup.find(name));
        ASSERT_NE(positions.back(), std::string::npos) << name;
    }
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
}

TEST(TreeRendererOrder, NonAsciiKeysSortByTheirCanonicalForm) {
    // "é" decomposed (e + U+0301) sorts as U+00E9, after "f", not between "e" and "f".
    const std::string decomposed = "e\xCC\x81";
    const YamlValue value =
        mappingOf({{decomposed, std::int64_t{1}}, {"f", std::int64_t{2}}, {"e", std::int64_t{3}}});
    const std::string markup = render(value);
    EXPECT_LT(markup.find(">e<"), markup.find(">f<"));
    EXPECT_LT(markup.find(">f<"), markup.find(">" + decomposed + "<"));
}

TEST(TreeRendererIds, OneFreshPrefixPerCollectionUsedInAllFourPlaces) {
    const YamlValue value = Sequence{Sequence{"a"}, Sequence{Sequence{"b"}}};
    const std::string markup = render(value);
    std::set<std::string> prefixes;
    static const std::regex toggle(
        R"re(id="toggle-([0-9A-F]{8})-(\d+)" onclick="toggle\('([^']*)'\))re");
    for (auto it = std::sregex_iterator(markup.begin(), markup.end(), toggle);
         it != std::sregex_iterator(); ++it) {
        const std::string id = (*it)[1].str() + "-" + (*it)[2].str();
        EXPECT_EQ((*it)[3].str(), id);
        EXPECT_NE(markup.find(R"(id="preview-)" + id + '"'), std::string::npos);
        EXPECT_NE(markup.find(R"(id="content-)" + id + '"'), std::string::npos);
        prefixes.insert((*it)[1].str());
    }
    // The root and the second element are collections with collapsible entries.
    EXPECT_EQ(prefixes.size(), 2U);
}

TEST(TreeRendererIds, DifferBetweenRenderingsWhileTheRestStaysTheSame) {
    const YamlValue value = mappingOf({{"list", Sequence{std::int64_t{1}, std::int64_t{2}}}});
    const std::string first = render(value);
    const std::string second = render(value);
    EXPECT_NE(first, second);
    EXPECT_EQ(maskIds(first), maskIds(second));
}

TEST(TreeRendererIds, ASeededSourceRepeatsItsPrefixes) {
    const YamlValue value = mappingOf({{"list", Sequence{Sequence{}, Sequence{"x"}}}});
    NodeIdSource a(7);
    NodeIdSource b(7);
    EXPECT_EQ(TreeRenderer(a).renderYAML(value, 0), TreeRenderer(b).renderYAML(value, 0));
}

std::size_t linesIn(const std::string& markup) {
    std::size_t count = 0;
    for (std::size_t at = markup.find(R"(<div class="line")"); at != std::string::npos;
         at = markup.find(R"(<div class="line")", at + 1)) {
        ++count;
    }
    return count;
}

// A sequence of `count` sequences of `each` strings: count × (each + 1) lines.
YamlValue blocks(std::size_t count, std::size_t each) {
    return Sequence(count, YamlValue(Sequence(each, YamlValue("x"))));
}

TEST(TreeRendererLineLimit, ATreeWithinTheLimitIsWrittenWhole) {
    const YamlValue value = blocks(10, 99); // 1,000 lines
    TreeRenderer renderer;
    renderer.limitLines(1000);
    std::string out;
    renderer.appendYAML(out, value, 0);
    EXPECT_FALSE(renderer.exceeded());
    EXPECT_EQ(linesIn(out), 1000U);
    EXPECT_EQ(maskIds(out), maskIds(render(value)));
}

TEST(TreeRendererLineLimit, NestedLinesCountAndWritingStopsBeforeTheLimitIsPassed) {
    for (const auto& [count, each] :
         {std::pair<std::size_t, std::size_t>{1, 1000}, {10, 100}, {4, 250}, {1001, 0}}) {
        const YamlValue value = blocks(count, each);
        TreeRenderer renderer;
        renderer.limitLines(1000);
        std::string out;
        renderer.appendYAML(out, value, 0);
        EXPECT_TRUE(renderer.exceeded()) << count << " x " << each;
        EXPECT_LE(linesIn(out), 1000U) << count << " x " << each;
    }
}

TEST(TreeRendererLineLimit, ALongCollectionIsGivenUpBeforeAnyOfItsLinesIsWritten) {
    Mapping mapping;
    for (int i = 0; i < 100'000; ++i) {
        mapping.entries().push_back({std::to_string(i), std::int64_t{i}});
    }
    TreeRenderer renderer;
    renderer.limitLines(1000);
    std::string out;
    renderer.appendYAML(out, YamlValue(std::move(mapping)), 0);
    EXPECT_TRUE(renderer.exceeded());
    EXPECT_EQ(out, "");
}

TEST(TreeRendererLineLimit, EmptyCollectionsAndScalarsAreNoLines) {
    TreeRenderer renderer;
    renderer.limitLines(3);
    std::string out;
    renderer.appendYAML(out, Sequence{Mapping{}, Sequence{}, "x"}, 0);
    renderer.appendYAML(out, "a scalar", 0);
    EXPECT_FALSE(renderer.exceeded());
    TreeRenderer none;
    none.limitLines(0);
    none.appendYAML(out, Sequence{}, 0);
    EXPECT_FALSE(none.exceeded());
    none.appendYAML(out, Sequence{"x"}, 0);
    EXPECT_TRUE(none.exceeded());
}

} // namespace
} // namespace quessel::page

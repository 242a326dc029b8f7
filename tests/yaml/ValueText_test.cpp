// How values read as text: scalars as the tree shows them, collections in a one-line flow form
// whose texts are quoted when they would otherwise read as something else.
#include "yaml/ValueText.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace quessel::yaml {
namespace {

TEST(ValueText, ScalarsShowAsTheTreeShowsThem) {
    EXPECT_EQ(displayText(YamlValue("a, b: \"c\"")), "a, b: \"c\"");
    EXPECT_EQ(displayText(YamlValue(std::int64_t{-42})), "-42");
    EXPECT_EQ(displayText(YamlValue(true)), "true");
    EXPECT_EQ(displayText(YamlValue(false)), "false");
    EXPECT_EQ(displayText(YamlValue(Null{})), "null");
    EXPECT_EQ(displayText(YamlValue(Data{{1, 2, 3}})), "3 bytes");
}

TEST(ValueText, FloatsUseSixteenSignificantDigits) {
    EXPECT_EQ(floatText(0.1), "0.1");
    EXPECT_EQ(floatText(1000.0), "1000");
    EXPECT_EQ(floatText(1e300), "1e+300");
    EXPECT_EQ(floatText(685230.15), "685230.15");
    EXPECT_EQ(floatText(INFINITY), "inf");
    EXPECT_EQ(floatText(-INFINITY), "-inf");
    EXPECT_EQ(floatText(std::nan("")), "nan");
    EXPECT_EQ(floatText(-std::nan("")), "nan");
}

TEST(ValueText, TimestampsShowInUtcToTheSecond) {
    EXPECT_EQ(timestampText(Timestamp{1008385183, 100000000}), "2001-12-15 02:59:43 +0000");
    EXPECT_EQ(timestampText(Timestamp{0, 0}), "1970-01-01 00:00:00 +0000");
    EXPECT_EQ(timestampText(Timestamp{-1, 0}), "1969-12-31 23:59:59 +0000");
    EXPECT_EQ(timestampText(Timestamp{951782400, 0}), "2000-02-29 00:00:00 +0000");
    EXPECT_EQ(timestampText(Timestamp{-62167219200, 0}), "0000-01-01 00:00:00 +0000");
}

TEST(ValueText, CollectionsShowInFlowForm) {
    Mapping inner;
    inner.entries().push_back({"x", Sequence{}});
    const YamlValue value = Sequence{"a", std::int64_t{1}, inner, Set{"m", "n"}, Mapping{}};
    EXPECT_EQ(displayText(value), "[a, 1, {x: []}, {m, n}, {}]");
    const YamlValue pairs = Sequence{Pair{BoxedValue("k"), BoxedValue(Sequence{1.5})}};
    EXPECT_EQ(flowText(pairs), "[k: [1.5]]");
}

TEST(ValueText, TextsInFlowFormAreQuotedWhenTheyWouldReadOtherwise) {
    EXPECT_EQ(flowString("plain words"), "plain words");
    EXPECT_EQ(flowString("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(flowString(""), "\"\"");
    EXPECT_EQ(flowString("1"), "\"1\"");
    EXPECT_EQ(flowString("yes"), "\"yes\"");
    EXPECT_EQ(flowString("~"), "\"~\"");
    EXPECT_EQ(flowString("a, b"), "\"a, b\"");
    EXPECT_EQ(flowString("k: v"), "\"k: v\"");
    EXPECT_EQ(flowString("- item"), "\"- item\"");
    EXPECT_EQ(flowString(" padded"), "\" padded\"");
    EXPECT_EQ(flowString("say \"hi\"\\"), "say \"hi\"\\");
    EXPECT_EQ(flowString("two\nlines\t\x01"), "\"two\\nlines\\t\\x01\"");
    EXPECT_EQ(flowString("[x] \"q\""), "\"[x] \\\"q\\\"\"");
    EXPECT_EQ(flowString("a\xE2\x80\xA8z"), "\"a\\Lz\"");
}

TEST(ValueText, DeepValuesAreWrittenWithoutRecursion) {
    YamlValue value = "x";
    for (int i = 0; i < 100000; ++i) {
        Sequence wrapper;
        wrapper.push_back(std::move(value));
        value = std::move(wrapper);
    }
    const std::string text = flowText(value);
    EXPECT_EQ(text.size(), 200001U);
    EXPECT_EQ(text.substr(99998, 5), "[[x]]");
    // Taken apart from the inside, so that its destruction does not recurse either.
    while (value.is<Sequence>() && !value.as<Sequence>().empty()) {
        YamlValue inner = std::move(value.as<Sequence>().front());
        value = std::move(inner);
    }
}

} // namespace
} // namespace quessel::yaml

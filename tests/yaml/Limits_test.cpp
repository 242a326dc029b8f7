// Limits: nesting up to 1,000 levels loads and one more fails at the place it is crossed; alias
// bombs stop at the expansion limit with the alias named; real sharing loads untouched.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/Limits.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace quessel::yaml {
namespace {

using testing::describe;
using testing::failure;
using testing::loaded;

std::string nestedSequences(std::size_t depth, std::string_view inner = "x") {
    return std::string(depth, '[') + std::string(inner) + std::string(depth, ']');
}

std::size_t depthOf(const YamlValue& value) {
    std::size_t depth = 0;
    for (const YamlValue* current = &value; current->is<Sequence>(); ++depth) {
        const Sequence& sequence = current->as<Sequence>();
        if (sequence.empty()) {
            return depth + 1;
        }
        current = &sequence.front();
    }
    return depth;
}

std::string repeated(std::string_view piece, std::size_t count, std::string_view separator) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += (i == 0 ? "" : separator);
        text += piece;
    }
    return text;
}

std::string billionLaughs() {
    std::string text = "a: &a [" + repeated("\"lol\"", 9, ",") + "]\n";
    for (char level = 'b'; level <= 'i'; ++level) {
        const std::string previous(1, static_cast<char>(level - 1));
        text +=
            std::string(1, level) + ": &" + level + " [" + repeated("*" + previous, 9, ",") + "]\n";
    }
    return text;
}

TEST(Limits, ThousandLevelsLoad) {
    EXPECT_EQ(depthOf(loaded(nestedSequences(limits::maximumDepth))), limits::maximumDepth);
    std::string mappings;
    for (std::size_t i = 0; i < limits::maximumDepth; ++i) {
        mappings += "{a: ";
    }
    mappings += "x" + std::string(limits::maximumDepth, '}');
    EXPECT_NO_THROW(load(mappings));
}

TEST(Limits, TheLevelBeyondFailsWhereItOpens) {
    const std::string text = nestedSequences(limits::maximumDepth + 1);
    EXPECT_EQ(describe(text).substr(0, 69),
              "1:1001: error: composer: exceeded the maximum nesting depth of 1000:\n");
    std::string block;
    for (std::size_t i = 0; i <= limits::maximumDepth; ++i) {
        block += std::string(i, ' ') + "- \n";
    }
    const auto error = failure(block + std::string(limits::maximumDepth + 1, ' ') + "x\n");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->mark(), (Mark{1001, 1001}));
}

TEST(Limits, AliasesMayNotNestValuesDeeperEither) {
    const std::string text = "a: &a " + nestedSequences(600) + "\nb: " + nestedSequences(600, "*a");
    const auto error = failure(text);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem(), "exceeded the maximum nesting depth of 1000");
    EXPECT_EQ(error->mark(), (Mark{2, 604})) << "the alias that nests too deep";
}

TEST(Limits, BillionLaughsStopsAtTheExpansionLimit) {
    const auto error = failure(billionLaughs());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), YamlError::Kind::composer);
    EXPECT_EQ(error->problem(), "exceeded the limit of 1000000 nodes expanded through aliases");
    // The first alias of g: its expansion carries the count past a million.
    EXPECT_EQ(error->mark(), (Mark{7, 8}));
    EXPECT_EQ(error->description().substr(0, 21), "7:8: error: composer:");
}

TEST(Limits, WideFanOutOfOneLargeNodeStops) {
    const std::string text =
        "a: &a [" + repeated("x", 1000, ", ") + "]\nb: [" + repeated("*a", 2000, ", ") + "]\n";
    const auto error = failure(text);
    ASSERT_TRUE(error);
    // Each alias visits its sequence and 1,000 elements: the 1,000th alias crosses a million.
    EXPECT_EQ(error->mark(), (Mark{2, 5 + 4 * 999}));
}

TEST(Limits, ManyAliasesOfSmallNodesAreNotABomb) {
    // A million aliases of a scalar expand to what the text composes: well within ten times it.
    const std::string text = "a: &a x\nb: [" + repeated("*a", 1'100'000, ",") + "]\n";
    const YamlValue value = loaded(text);
    EXPECT_EQ(value.as<Mapping>().find("b")->as<Sequence>().size(), 1'100'000U);
}

TEST(Limits, MergesWhoseResultOutgrowsTheLimitStop) {
    // Each mapping of the chain holds all keys before it: millions of entries in all.
    std::ostringstream chain;
    chain << "m0: &m0 {k0: 0}\n";
    for (int i = 1; i < 3000; ++i) {
        chain << "m" << i << ": &m" << i << " {<<: *m" << i - 1 << ", k" << i << ": 0}\n";
    }
    EXPECT_EQ(failure(chain.str())->problem(),
              "exceeded the limit of 1000000 nodes expanded through aliases");
    // Merged values are built for every mapping that merges them: here they double each level.
    std::ostringstream doubling;
    doubling << "d0: &d0 {v0: x}\n";
    for (int i = 1; i <= 30; ++i) {
        doubling << "d" << i << ": &d" << i << " {<<: *d" << i - 1 << ", v" << i << ": [*d" << i - 1
                 << ", *d" << i - 1 << "]}\n";
    }
    const auto error = failure(doubling.str());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem(), "exceeded the limit of 1000000 nodes expanded through aliases");
}

TEST(Limits, MergedCollectionKeysAreNotFoldedAndAFanOutOfThemStops) {
    // A collection key has no text before it is built, so every merged copy is kept.
    std::string fanOut = "e0: &e0 {[k]: 0}\n";
    for (int i = 1; i <= 9; ++i) {
        fanOut += "e" + std::to_string(i) + ": &e" + std::to_string(i) + " {<<: [" +
                  repeated("*e" + std::to_string(i - 1), 9, ", ") + "]}\n";
    }
    EXPECT_EQ(failure(fanOut)->problem(),
              "exceeded the limit of 1000000 nodes expanded through aliases");
}

TEST(Limits, KeysThatRepeatAnAliasBombAreComparedWithoutExpanding) {
    const std::string bomb = billionLaughs();
    // Equal by identity, so the duplicate is found at once; describing it needs its value.
    EXPECT_EQ(failure(bomb + "k:\n  ? *i\n  : 1\n  ? *i\n  : 2\n")->problem(),
              "exceeded the limit of 1000000 nodes expanded through aliases");
    // Different keys: hashing and comparing them costs their composed size, then the key text
    // needs the expansion and stops.
    EXPECT_EQ(failure(bomb + "k:\n  ? [*i, 1]\n  : 1\n  ? [*i, 2]\n  : 2\n")->kind(),
              YamlError::Kind::composer);
}

TEST(Limits, KeysNamedThroughAValueKeyAreChargedForTheirScan) {
    // Every key looks through the large aliased mapping for its `=` pair, which comes last.
    std::string text = "m:\n  ? &big {";
    for (int i = 0; i < 10000; ++i) {
        text += 'k';
        text += std::to_string(i) + ": v, ";
    }
    text += "=: x}\n  : 0\n";
    for (int i = 0; i < 200; ++i) {
        text += "  ? {=: *big, z: " + std::to_string(i) + "}\n  : " + std::to_string(i) + "\n";
    }
    const auto error = failure(text);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem(), "exceeded the limit of 1000000 nodes expanded through aliases");
    EXPECT_EQ(error->mark()->line, 4 + 2 * 99) << "the hundredth key's alias crosses the limit";
}

TEST(Limits, SharingThroughAnchorsAndMergeKeysLoadsUntouched) {
    std::string text = "defaults: &defaults\n";
    for (int i = 0; i < 20; ++i) {
        text += "  setting" + std::to_string(i) + ": value" + std::to_string(i) + "\n";
    }
    text += "tags: &tags [a, b, c]\nitems:\n";
    for (int i = 0; i < 5000; ++i) {
        text += "  - <<: *defaults\n    id: " + std::to_string(i) + "\n    tags: *tags\n";
    }
    const YamlValue value = loaded(text);
    const Sequence& items = value.as<Mapping>().find("items")->as<Sequence>();
    ASSERT_EQ(items.size(), 5000U);
    EXPECT_EQ(items[4999].as<Mapping>().size(), 22U);
    EXPECT_EQ(*items[4999].as<Mapping>().find("setting19"), YamlValue("value19"));
}

TEST(Limits, ExpansionLimitGrowsWithTheDocument) {
    EXPECT_EQ(limits::aliasExpansionLimit(10), 1'000'000U);
    EXPECT_EQ(limits::aliasExpansionLimit(500'000), 5'000'000U);
}

} // namespace
} // namespace quessel::yaml

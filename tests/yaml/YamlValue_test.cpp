// Value equality: mappings and sets are unordered, texts compare canonically, NaN equals NaN.
#include "yaml/YamlValue.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace quessel::yaml {
namespace {

Mapping mappingOf(std::vector<MappingEntry> entries) {
    Mapping mapping;
    mapping.entries() = std::move(entries);
    return mapping;
}

TEST(YamlValue, MappingsCompareWithoutRegardToOrder) {
    const YamlValue a = mappingOf({{"x", std::int64_t{1}}, {"y", "two"}});
    const YamlValue b = mappingOf({{"y", "two"}, {"x", std::int64_t{1}}});
    const YamlValue c = mappingOf({{"x", std::int64_t{1}}, {"y", "three"}});
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(*a.as<Mapping>().find("y"), YamlValue("two"));
    EXPECT_EQ(a.as<Mapping>().find("z"), nullptr);
}

TEST(YamlValue, KindsNeverCompareEqualAcrossEachOther) {
    EXPECT_NE(YamlValue(std::int64_t{1}), YamlValue(1.0));
    EXPECT_NE(YamlValue(true), YamlValue(std::int64_t{1}));
    EXPECT_NE(YamlValue("1"), YamlValue(std::int64_t{1}));
    EXPECT_EQ(YamlValue(), YamlValue(Null{}));
}

TEST(YamlValue, NotANumberEqualsItselfSoLoadsCanBeCompared) {
    EXPECT_EQ(YamlValue(std::nan("")), YamlValue(std::nan("")));
    EXPECT_NE(YamlValue(INFINITY), YamlValue(-INFINITY));
}

TEST(YamlValue, PairsAndSetsCopyDeeply) {
    const YamlValue pair = Pair{BoxedValue("k"), BoxedValue(Sequence{std::int64_t{1}})};
    const YamlValue copy = pair;
    EXPECT_EQ(pair, copy);
    EXPECT_NE(&*pair.as<Pair>().value, &*copy.as<Pair>().value);
    EXPECT_EQ(YamlValue(Set{"a", "b"}), YamlValue(Set{"b", "a"}));
    EXPECT_NE(YamlValue(Set{"a", "b"}), YamlValue(Set{"a", "c"}));
}

} // namespace
} // namespace quessel::yaml

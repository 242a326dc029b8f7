// Loading end to end: how plain, quoted and tagged scalars resolve and construct, and how
// mappings, merge keys, sets, ordered maps and custom tags become values.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/Load.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quessel::yaml {
namespace {

using testing::at;
using testing::integer;
using testing::loaded;

// The elements of a flow sequence of plain scalars.
Sequence elements(std::string_view flow) {
    return loaded(flow).as<Sequence>();
}

TEST(Load, NoDocumentGivesNoValue) {
    EXPECT_FALSE(load("").has_value());
    EXPECT_FALSE(load("# only a comment\n\n   \n").has_value());
    EXPECT_EQ(loaded("---"), YamlValue(Null{}));
}

TEST(Load, WhiteSpaceAloneHoldsNoDocumentTabsIncluded) {
    for (const std::string_view text :
         {"\t", " \t\n\t \r\n", "\xEF\xBB\xBF\t", "\xC2\x85\t\xE2\x80\xA8\xE2\x80\xA9"}) {
        EXPECT_FALSE(load(text).has_value()) << text;
        EXPECT_FALSE(
            load(text, Resolver::standard(), Constructor::standard(), Parser::Encoding::utf16)
                .has_value())
            << text;
    }
    // Other white space is what libyaml makes of it: a text, or a character it refuses; and a
    // tab before anything else is still refused where it stands.
    EXPECT_EQ(loaded("\xC2\xA0"), YamlValue("\xC2\xA0"));
    EXPECT_EQ(testing::failure("\t\v")->kind(), YamlError::Kind::reader);
    EXPECT_EQ(testing::failure("  \n\tx")->mark(), (Mark{2, 1}));
}

TEST(Load, BooleansAndNullsTakeOnlyTheirListedSpellings) {
    EXPECT_EQ(elements("[yes, No, TRUE, off, On]"), (Sequence{true, false, true, false, true}));
    EXPECT_EQ(elements("[yES, Nil, nULL, tRUE]"), (Sequence{"yES", "Nil", "nULL", "tRUE"}));
    EXPECT_EQ(elements("[~, null, NULL, Null]"), Sequence(4, YamlValue(Null{})));
    EXPECT_EQ(at(loaded("a:\nb: 1"), "a"), YamlValue(Null{}));
}

TEST(Load, IntegersFollowTheOldRadixAndBaseSixtyRules) {
    EXPECT_EQ(elements("[12, 012, 0o12, 0x_1F, 1_000, 9:30, -0b11, 190:20:30, -1:30]"),
              (Sequence{integer(12), integer(10), integer(10), integer(31), integer(1000),
                        integer(570), integer(-3), integer(685230), integer(-90)}));
    // -0 has no digits after the octal prefix; 08 misses the integer rule but is a float.
    EXPECT_EQ(elements("[-0, +0, 09:30]"), (Sequence{"-0", "+0", "09:30"}));
    EXPECT_EQ(elements("[08]"), (Sequence{8.0}));
}

TEST(Load, ASignAfterTheRadixPrefixNeedsAnExplicitIntegerTag) {
    // The integer rule has no sign after a prefix: plain, these are texts.
    EXPECT_EQ(elements("[!!int 0x-5, !!int 0o-7, !!int 0b-1, !!int 0-7, !!int -0x-5]"),
              (Sequence{integer(-5), integer(-7), integer(-1), integer(-7), "-0x-5"}));
    EXPECT_EQ(elements("[0x-5, 0o-7, 0b-1, 0-7]"), (Sequence{"0x-5", "0o-7", "0b-1", "0-7"}));
}

TEST(Load, IntegersOutsideSixtyFourBitsLoadAsText) {
    EXPECT_EQ(elements("[9223372036854775807, -9223372036854775808]"),
              (Sequence{integer(std::numeric_limits<std::int64_t>::max()),
                        integer(std::numeric_limits<std::int64_t>::min())}));
    EXPECT_EQ(elements("[9223372036854775808, 1:0:0:0:0:0:0:0:0:0:0:0]"),
              (Sequence{"9223372036854775808", "1:0:0:0:0:0:0:0:0:0:0:0"}));
}

TEST(Load, FloatsIncludeInfinitiesAndNotANumber) {
    const Sequence floats = elements("[1.5, 1., .5, 1e3, 1_000.5, .inf, -.INF, 190:20:30.15]");
    EXPECT_EQ(floats, (Sequence{1.5, 1.0, 0.5, 1000.0, 1000.5, INFINITY, -INFINITY, 685230.15}));
    EXPECT_TRUE(std::isnan(elements("[.NaN]")[0].as<double>()));
    EXPECT_EQ(elements("[+.nan, .Inf_]"), (Sequence{"+.nan", ".Inf_"}));
}

TEST(Load, QuotedAndBlockScalarsAreAlwaysTexts) {
    EXPECT_EQ(elements(R"(["12", 'true', "~", ''])"), (Sequence{"12", "true", "~", ""}));
    EXPECT_EQ(at(loaded("a: |\n  12\nb: >-\n  yes\n"), "a"), YamlValue("12\n"));
    EXPECT_EQ(at(loaded("a: |\n  12\nb: >-\n  yes\n"), "b"), YamlValue("yes"));
}

TEST(Load, ExplicitTagsConstructOrFallBackToTheText) {
    EXPECT_EQ(elements(R"([!!int "12", !!float '1.5', !!null "", !!bool "YES", !!str 12])"),
              (Sequence{"12", "1.5", "", true, "12"}));
    EXPECT_EQ(elements("[!!int abc, !foo 12, !!float 0x1p3, ! 12]"),
              (Sequence{"abc", "12", 8.0, "12"}));
    EXPECT_EQ(elements("[!!int 0x10, !!bool oFF, !!null ~]"),
              (Sequence{integer(16), false, Null{}}));
}

TEST(Load, BinaryDecodesBase64AcrossLines) {
    const YamlValue value = at(loaded("data: !!binary |\n  AAEC\n  Aw==\n"), "data");
    ASSERT_TRUE(value.is<Data>());
    EXPECT_EQ(value.as<Data>().bytes, (std::vector<std::uint8_t>{0, 1, 2, 3}));
    EXPECT_EQ(at(loaded("data: !!binary \"A\""), "data"), YamlValue("A"));
}

TEST(Load, TimestampsAreInstantsInUtc) {
    EXPECT_EQ(elements("[2001-12-14]"), (Sequence{Timestamp{1008288000, 0}}));
    EXPECT_EQ(elements("[2001-12-14 21:59:43.10 -5, 2001-12-14t21:59:43.10-05:00]"),
              (Sequence{Timestamp{1008385183, 100000000}, Timestamp{1008385183, 100000000}}));
    EXPECT_EQ(elements("[2001-1-1, 2001-13-01]"), (Sequence{"2001-1-1", "2001-13-01"}));
}

TEST(Load, MappingKeysAreTextsAsWritten) {
    const Mapping mapping = loaded("1: a\ntrue: b\n~: c\n0x10: d\n").as<Mapping>();
    ASSERT_EQ(mapping.size(), 4U);
    for (const char* key : {"1", "true", "~", "0x10"}) {
        EXPECT_NE(mapping.find(key), nullptr) << key;
    }
}

TEST(Load, KeysWithTheSameTextMergeAndTheLaterValueWins) {
    const Mapping mapping = loaded("1: a\n\"1\": b\n").as<Mapping>();
    ASSERT_EQ(mapping.size(), 1U);
    EXPECT_EQ(*mapping.find("1"), YamlValue("b"));
}

TEST(Load, MergeKeysBringInPairsThatOwnKeysOverride) {
    const YamlValue value = loaded("base: &b {x: 1, y: 2}\nderived: {<<: *b, y: 3}\n");
    EXPECT_EQ(at(value, "derived"), loaded("{x: 1, y: 3}"));
    EXPECT_EQ(at(value, "base"), loaded("{x: 1, y: 2}"));
}

TEST(Load, EarlierMergedMappingsOverrideLaterOnes) {
    const YamlValue value =
        loaded("a: &a {x: from-a}\nb: &b {x: from-b, z: 1}\nc: {<<: [*a, *b, 7]}\n");
    EXPECT_EQ(at(value, "c"), loaded("{x: from-a, z: 1}"));
}

TEST(Load, MergesChainAndNonMappingMergesAreIgnored) {
    const YamlValue value = loaded("a: &a {x: 1}\n"
                                   "b: &b {<<: *a, y: 2}\n"
                                   "c: {<<: *b, z: 3}\n"
                                   "d: {<<: 5, w: 4}\n"
                                   "e: {<<: {v: 5}}\n");
    EXPECT_EQ(at(value, "c"), loaded("{x: 1, y: 2, z: 3}"));
    EXPECT_EQ(at(value, "d"), loaded("{w: 4}"));
    EXPECT_EQ(at(value, "e"), loaded("{v: 5}"));
}

TEST(Load, MergeAndValueWordsInSequencesAreTexts) {
    EXPECT_EQ(elements("[<<, =]"), (Sequence{"<<", "="}));
    EXPECT_EQ(loaded("{=: x, b: 1}"), loaded("{\"=\": x, b: 1}"));
}

TEST(Load, SetsOrderedMapsAndPairs) {
    EXPECT_EQ(loaded("!!set {a, b}"), YamlValue(Set{"b", "a"}));
    EXPECT_EQ(loaded("!!omap [{a: 1}, {b: 2}]"),
              YamlValue(Sequence{Pair{BoxedValue("a"), BoxedValue(integer(1))},
                                 Pair{BoxedValue("b"), BoxedValue(integer(2))}}));
    EXPECT_EQ(loaded("!!pairs [{a: 1}, 3, {}, {b: 2, c: 3}, {a: 4}]"),
              YamlValue(Sequence{Pair{BoxedValue("a"), BoxedValue(integer(1))},
                                 Pair{BoxedValue("b"), BoxedValue(integer(2))},
                                 Pair{BoxedValue("a"), BoxedValue(integer(4))}}));
    // Pair keys are whole values, not texts.
    EXPECT_EQ(loaded("!!omap [{1: [x]}]"),
              YamlValue(Sequence{Pair{BoxedValue(integer(1)), BoxedValue(Sequence{"x"})}}));
}

TEST(Load, CustomTagsFallBackToPlainCollectionsAndTexts) {
    EXPECT_EQ(loaded("!custom {a: 1}"), loaded("{a: 1}"));
    EXPECT_EQ(loaded("!custom [1]"), loaded("[1]"));
    EXPECT_EQ(loaded("!custom x"), YamlValue("x"));
}

TEST(Load, ComplexKeysGetTheirOneLineFlowForm) {
    const Mapping mapping =
        loaded("? [a, b]\n: 1\n? {x: 1}\n: 2\n? [1, \"1\", \"a, b\"]\n: 3\n").as<Mapping>();
    EXPECT_EQ(*mapping.find("[a, b]"), integer(1));
    EXPECT_EQ(*mapping.find("{x: 1}"), integer(2));
    EXPECT_EQ(*mapping.find("[1, \"1\", \"a, b\"]"), integer(3));
    EXPECT_EQ(loaded("!!set {? [a, b]}"), YamlValue(Set{"[a, b]"}));
}

TEST(Load, AMappingKeyWithAValueKeyTakesThatValuesText) {
    const Mapping mapping = loaded("? {=: k, z: 1}\n: v\n? {=: {=: deep}}\n: w\n").as<Mapping>();
    EXPECT_EQ(*mapping.find("k"), YamlValue("v"));
    EXPECT_EQ(*mapping.find("deep"), YamlValue("w"));
}

TEST(Load, AliasesLoadAsSeparateEqualValues) {
    const YamlValue value = loaded("a: &x {k: [1, 2]}\nb: *x\nc: *x\n");
    EXPECT_EQ(at(value, "b"), at(value, "a"));
    EXPECT_EQ(at(value, "c"), at(value, "a"));
}

TEST(Load, TextsKeepNulAndEveryByteOfTheScalar) {
    const YamlValue value = loaded("\"a\\0b\\u00e9\"");
    EXPECT_EQ(value, YamlValue(std::string("a\0b\xC3\xA9", 5)));
}

} // namespace
} // namespace quessel::yaml

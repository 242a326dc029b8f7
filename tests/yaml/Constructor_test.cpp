// The constructor's maps: the standard one's tags, custom scalar functions and collection
// constructions, and the named constructions applied to composed nodes.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/Constructor.hpp"
#include "yaml/Parser.hpp"
#include "yaml/TagName.hpp"

#include <gtest/gtest.h>

namespace quessel::yaml {
namespace {

using testing::loaded;
using testing::rootOf;

TEST(Constructor, StandardMapsNameTheYaml11Types) {
    const Constructor& standard = Constructor::standard();
    for (std::string_view tag :
         {TagName::str, TagName::boolean, TagName::integer, TagName::floating, TagName::null,
          TagName::binary, TagName::timestamp}) {
        EXPECT_TRUE(standard.scalarMap().contains(tag)) << tag;
    }
    EXPECT_EQ(standard.mappingMap().size(), 2U);
    EXPECT_EQ(standard.mappingMap().at(std::string(TagName::set)),
              Constructor::MappingConstruction::set);
    EXPECT_EQ(standard.sequenceMap().size(), 3U);
    EXPECT_FALSE(standard.scalarMap().contains(TagName::merge));
    EXPECT_EQ(&standard, &Constructor::standard());
}

TEST(Constructor, CustomScalarFunctionsAndCollectionConstructionsApply) {
    Constructor::ScalarMap scalars = Constructor::standard().scalarMap();
    scalars["!upper"] = [](const Node& scalar) -> std::optional<YamlValue> {
        std::string text(scalar.string());
        for (char& c : text) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return YamlValue(std::move(text));
    };
    scalars["!never"] = [](const Node&) -> std::optional<YamlValue> { return std::nullopt; };
    Constructor::MappingMap mappings = Constructor::standard().mappingMap();
    mappings["!bag"] = Constructor::MappingConstruction::set;
    Constructor::SequenceMap sequences = Constructor::standard().sequenceMap();
    sequences["!entries"] = Constructor::SequenceConstruction::pairs;
    const Constructor custom(std::move(scalars), std::move(mappings), std::move(sequences));

    const auto value = load("[!upper abc, !never 12, !bag {x, y}, !entries [{k: v}]]",
                            Resolver::standard(), custom);
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, YamlValue(Sequence{"ABC", "12", Set{"x", "y"},
                                         Sequence{Pair{BoxedValue("k"), BoxedValue("v")}}}));
}

// The standard functions are recognised wherever they are registered and made without the
// function call; a function of another kind under a standard tag is called as it is.
TEST(Constructor, StandardFunctionsApplyUnderAnyTagAndCanBeReplaced) {
    Constructor::ScalarMap scalars = Constructor::standard().scalarMap();
    scalars["!number"] = &Constructor::integer;
    scalars["!real"] = &Constructor::floating;
    scalars["!flag"] = &Constructor::boolean;
    scalars["!nothing"] = &Constructor::null;
    scalars["!when"] = &Constructor::timestamp;
    scalars["!bytes"] = &Constructor::binary;
    scalars["!text"] = &Constructor::text;
    scalars[std::string(TagName::integer)] = [](const Node& scalar) -> std::optional<YamlValue> {
        return YamlValue("int " + std::string(scalar.string()));
    };
    const Constructor custom(std::move(scalars), Constructor::standard().mappingMap(),
                             Constructor::standard().sequenceMap());

    const auto value = load("[!number 0x1F, !number x, !real 2.5, !flag yes, !nothing ~, "
                            "!when 2001-12-14, !bytes aGk=, !text 12, 12, !real one]",
                            Resolver::standard(), custom);
    ASSERT_TRUE(value);
    const Sequence& items = value->as<Sequence>();
    ASSERT_EQ(items.size(), 10U);
    EXPECT_EQ(items[0], YamlValue(std::int64_t{31}));
    EXPECT_EQ(items[1], YamlValue("x"));
    EXPECT_EQ(items[2], YamlValue(2.5));
    EXPECT_EQ(items[3], YamlValue(true));
    EXPECT_EQ(items[4], YamlValue(Null{}));
    EXPECT_EQ(items[5], YamlValue(Timestamp{1008288000, 0}));
    EXPECT_EQ(items[6], YamlValue(Data{{'h', 'i'}}));
    EXPECT_EQ(items[7], YamlValue("12"));
    EXPECT_EQ(items[8], YamlValue("int 12"));
    EXPECT_EQ(items[9], YamlValue("one"));
}

TEST(Constructor, WithoutFunctionsEverythingIsTextAndPlainCollections) {
    const Constructor bare({}, {}, {});
    const auto value =
        load("{a: [1, true, ~], !!set {s}: !!omap [{x: 1}]}", Resolver::standard(), bare);
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, loaded(R"({a: ['1', 'true', '~'], '{s: ""}': [{x: '1'}]})"));
}

TEST(Constructor, NamedConstructionsBuildTheirShapeFromAnyNode) {
    Parser parser("- !!set {a: 1, b: 2}\n- !!omap [{a: 1}, {b: 2}]\n- {<<: {m: 1}, o: 2}\n");
    const auto nodes = rootOf(parser).nodes();
    const Constructor& constructor = Constructor::standard();
    EXPECT_EQ(constructor.private_construct_mapping(nodes[0]), loaded("{a: 1, b: 2}"));
    EXPECT_EQ(constructor.construct_set(nodes[2]), YamlValue(Set{"<<", "o"}));
    EXPECT_EQ(constructor.construct_seq(nodes[1]), loaded("[{a: 1}, {b: 2}]"));
    EXPECT_EQ(constructor.construct_pairs(nodes[1]), constructor.construct_omap(nodes[1]));
    EXPECT_EQ(constructor.any(nodes[2]), loaded("{m: 1, o: 2}"));
    EXPECT_EQ(constructor.any(nodes[0]), YamlValue(Set{"a", "b"}));
}

TEST(Constructor, ScalarFunctionsSeeTheStyle) {
    Parser parser("[~, '~', null, \"\"]");
    const auto nodes = rootOf(parser).nodes();
    EXPECT_EQ(Constructor::null(nodes[0]), YamlValue(Null{}));
    EXPECT_EQ(Constructor::null(nodes[1]), std::nullopt);
    EXPECT_EQ(Constructor::null(nodes[2]), YamlValue(Null{}));
    EXPECT_EQ(Constructor::text(nodes[3]), YamlValue(""));
}

} // namespace
} // namespace quessel::yaml

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

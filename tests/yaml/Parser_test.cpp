// Composition: the node tree libyaml's events become, anchors and aliases, the one-document
// rule, duplicate keys, and node equality and order.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/Parser.hpp"
#include "yaml/TagName.hpp"

#include <gtest/gtest.h>

namespace quessel::yaml {
namespace {

using testing::describe;
using testing::failure;
using testing::loaded;
using testing::rootOf;

TEST(Parser, ComposesScalarsWithTextTagStyleMarkAndAnchor) {
    Parser parser("a: &x 'quoted'\nb: !!int 7\nc: plain\n");
    const Node root = rootOf(parser);
    ASSERT_EQ(root.kind(), Node::Kind::mapping);
    const auto pairs = root.pairs();
    ASSERT_EQ(pairs.size(), 3U);
    const Node quoted = pairs[0].value;
    EXPECT_EQ(quoted.string(), "quoted");
    EXPECT_EQ(quoted.rawTagName(), TagName::str);
    EXPECT_EQ(quoted.scalarStyle(), ScalarStyle::singleQuoted);
    EXPECT_EQ(quoted.mark(), (Mark{1, 4}));
    ASSERT_NE(quoted.anchor(), nullptr);
    EXPECT_EQ(quoted.anchor()->rawValue, "x");
    EXPECT_EQ(pairs[1].value.rawTagName(), TagName::integer);
    EXPECT_EQ(pairs[2].value.rawTagName(), TagName::implicit);
    EXPECT_EQ(pairs[2].value.tag().name(), TagName::str);
    EXPECT_EQ(pairs[2].value.rawTagName(), TagName::str) << "resolved in place";
    EXPECT_EQ(root.collectionStyle(), CollectionStyle::block);
    EXPECT_EQ(parser.anchors().size(), 1U);
}

TEST(Parser, CollectionTagsResolveToMapAndSeqUnlessExplicit) {
    Parser parser("- [1]\n- !!set {a}\n- ! [x]\n- !custom {}\n");
    const auto nodes = rootOf(parser).nodes();
    ASSERT_EQ(nodes.size(), 4U);
    EXPECT_EQ(nodes[0].tag().name(), TagName::seq);
    EXPECT_EQ(nodes[0].collectionStyle(), CollectionStyle::flow);
    EXPECT_EQ(nodes[1].tag().name(), TagName::set);
    EXPECT_EQ(nodes[2].rawTagName(), TagName::nonSpecific);
    EXPECT_EQ(nodes[2].tag().name(), TagName::seq);
    EXPECT_EQ(nodes[3].tag().name(), "!custom");
}

TEST(Parser, ResolvedTagIsSharedByEveryAliasOfTheNode) {
    Parser parser("- &a 12\n- *a\n");
    const auto nodes = rootOf(parser).nodes();
    EXPECT_EQ(nodes[1].rawTagName(), TagName::implicit);
    EXPECT_EQ(nodes[0].tag().name(), TagName::integer);
    EXPECT_EQ(nodes[1].rawTagName(), TagName::integer);
    EXPECT_TRUE(nodes[0].tag() == nodes[1].tag());
    EXPECT_EQ(nodes[1].aliasMark(), (Mark{2, 3}));
    EXPECT_EQ(nodes[1].mark(), (Mark{1, 3})) << "a copy of the anchored node";
}

TEST(Parser, NoDocumentGivesNoRoot) {
    Parser empty("");
    EXPECT_FALSE(empty.singleRoot().has_value());
    Parser comments("# nothing here\n");
    EXPECT_FALSE(comments.singleRoot().has_value());
    EXPECT_FALSE(comments.singleRoot().has_value());
}

TEST(Parser, AliasRefersToTheLatestCompleteNodeOfItsName) {
    EXPECT_EQ(loaded("[&a 1, &a 2, *a]"), loaded("[1, 2, 2]"));
    EXPECT_EQ(loaded("a: &x 1\nb: *x\n"), loaded("{a: 1, b: 1}"));
}

TEST(Parser, AnchorIsRegisteredOnlyAfterItsChildren) {
    EXPECT_EQ(describe("&a [1, *a]"),
              "1:8: error: composer: found undefined alias:\n&a [1, *a]\n       ^");
    // An earlier node of the same name is what the inner alias names.
    EXPECT_EQ(loaded("- &a x\n- &a [1, *a]\n- *a\n"), loaded("[x, [1, x], [1, x]]"));
}

TEST(Parser, ASecondDocumentIsRefused) {
    const auto error = failure("a: 1\n---\nb: 2\n");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), YamlError::Kind::composer);
    EXPECT_EQ(error->mark(), (Mark{2, 1}));
    ASSERT_TRUE(error->context());
    EXPECT_EQ(error->context()->mark, (Mark{1, 1}));
    EXPECT_EQ(error->problem(), "but found another document");
    EXPECT_EQ(describe("--- 1\n--- 2\n").substr(0, 4), "2:1:");
}

TEST(Parser, DuplicateKeysAreComparedAsResolvedNodes) {
    EXPECT_EQ(failure("a: 1\n!!str a: 2\n")->kind(), YamlError::Kind::duplicatedKeysInMapping);
    EXPECT_EQ(failure("<<: {}\n<<: {}\n")->kind(), YamlError::Kind::duplicatedKeysInMapping);
    EXPECT_EQ(failure("? [a, {b: 1}]\n: 1\n? [a, {b: 1}]\n: 2\n")->kind(),
              YamlError::Kind::duplicatedKeysInMapping);
    // Equal texts under different tags are different keys.
    EXPECT_NO_THROW(load("1: x\n\"1\": y\n"));
    EXPECT_NO_THROW(load("? [1]\n: x\n? [\"1\"]\n: y\n"));
}

TEST(Parser, DuplicateKeyReportListsEveryKeyWithItsOccurrencesInNodeOrder) {
    const auto error = failure("b: 1\na: 1\nc: 0\nb: 2\na: 2\nb: 3\n");
    ASSERT_TRUE(error);
    ASSERT_EQ(error->duplicates().size(), 2U);
    EXPECT_EQ(error->duplicates()[0], (YamlError::DuplicatedKey{"a", {Mark{2, 1}, Mark{5, 1}}}));
    EXPECT_EQ(error->duplicates()[1],
              (YamlError::DuplicatedKey{"b", {Mark{1, 1}, Mark{4, 1}, Mark{6, 1}}}));
}

TEST(Parser, DuplicateKeysInLargeMappingsAreFoundToo) {
    std::string text;
    for (int i = 0; i < 500; ++i) {
        text += "key" + std::to_string(i) + ": " + std::to_string(i) + "\n";
    }
    EXPECT_NO_THROW(load(text));
    const auto error = failure(text + "key250: again\n");
    ASSERT_TRUE(error);
    ASSERT_EQ(error->duplicates().size(), 1U);
    EXPECT_EQ(error->duplicates()[0].occurrences, (std::vector<Mark>{{251, 1}, {501, 1}}));
}

TEST(Parser, AliasedDuplicateKeysPointAtWhereTheAliasesStand) {
    const auto error = failure("k: &k x\nm:\n  *k : 1\n  *k : 2\n");
    ASSERT_TRUE(error);
    ASSERT_EQ(error->duplicates().size(), 1U);
    EXPECT_EQ(error->duplicates()[0].occurrences, (std::vector<Mark>{{3, 3}, {4, 3}}));
}

TEST(Parser, NodesCompareByResolvedTagAndCanonicalText) {
    Parser parser("- a\n- !!str a\n- \"a\"\n- 1\n- \"1\"\n- caf\xC3\xA9\n- cafe\xCC\x81\n"
                  "- [a, {x: 1}]\n- [a, {x: 1}]\n- [a, {x: 2}]\n");
    const auto n = rootOf(parser).nodes();
    EXPECT_TRUE(n[0] == n[1]);
    EXPECT_TRUE(n[0] == n[2]);
    EXPECT_FALSE(n[3] == n[4]);
    EXPECT_TRUE(n[5] == n[6]);
    EXPECT_EQ(n[5].hash(), n[6].hash());
    EXPECT_TRUE(n[7] == n[8]);
    EXPECT_EQ(n[7].hash(), n[8].hash());
    EXPECT_FALSE(n[7] == n[9]);
    EXPECT_FALSE(n[0] == n[7]);
}

TEST(Parser, NodeOrderIsByTextThenChildren) {
    Parser parser("- b\n- a\n- [a, b]\n- [a, c]\n- [a]\n- {k: 1}\n");
    const auto n = rootOf(parser).nodes();
    EXPECT_TRUE(n[1] < n[0]);
    EXPECT_FALSE(n[0] < n[1]);
    EXPECT_TRUE(n[2] < n[3]);
    EXPECT_TRUE(n[4] < n[2]) << "a prefix comes first";
    EXPECT_FALSE(n[2] < n[2]);
    // Different kinds rank scalar, mapping, sequence.
    EXPECT_TRUE(n[0] < n[5]);
    EXPECT_TRUE(n[5] < n[2]);
}

TEST(Parser, NodesOfDifferentLoadsCompareStructurally) {
    Parser firstParser("[a, {x: [1]}]");
    Parser secondParser("[a, {x: [1]}]");
    Parser thirdParser("[a, {x: [2]}]");
    const Node first = rootOf(firstParser);
    const Node second = rootOf(secondParser);
    const Node third = rootOf(thirdParser);
    EXPECT_TRUE(first == second);
    EXPECT_EQ(first.hash(), second.hash());
    EXPECT_FALSE(first == third);
}

TEST(Parser, FlattenPutsMergedPairsFirst) {
    Parser parser("- &a {x: 1}\n- {y: 2, <<: *a, =: v}\n");
    const auto pairs = rootOf(parser).nodes()[1].flatten();
    ASSERT_EQ(pairs.size(), 3U);
    EXPECT_EQ(pairs[0].key.string(), "x");
    EXPECT_EQ(pairs[1].key.string(), "y");
    EXPECT_EQ(pairs[2].key.string(), "=");
    EXPECT_EQ(pairs[2].key.tag().name(), TagName::str) << "a value key becomes a text";
}

TEST(Parser, Utf16InputComposesTheSameTree) {
    const std::string text = "k\xC3\xA9y: [\xF0\x9F\x98\x80, 2]\n";
    EXPECT_EQ(load(text, Resolver::standard(), Constructor::standard(), Parser::Encoding::utf16),
              load(text));
    Parser parser(text, Resolver::standard(), Constructor::standard(), Parser::Encoding::utf16);
    EXPECT_EQ(parser.encoding(), Parser::Encoding::utf16);
    EXPECT_EQ(rootOf(parser).pairs()[0].value.nodes()[1].mark(), (Mark{1, 10}));
}

} // namespace
} // namespace quessel::yaml

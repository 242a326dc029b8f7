// Locating tree nodes in the source: the row's label mark and the value copied, for keys of
// every kind, merges, aliases, block and flow collections, streams and paths that lead nowhere.
#include "yaml/NodeLocator.hpp"

#include <gtest/gtest.h>

#include <variant>

namespace quessel::yaml {

// Failed expectations show the mark and the text rather than bytes.
void PrintTo(const LocatedNode& node, std::ostream* out) {
    *out << node.label.description() << " " << ::testing::PrintToString(node.value);
}

namespace {

using Step = std::variant<std::string, std::size_t>;

NodePath pathOf(std::initializer_list<Step> steps, std::optional<std::size_t> document = {}) {
    NodePath path{document, {}};
    for (const Step& step : steps) {
        path.steps.push_back(PathStep{step});
    }
    return path;
}

LocatedNode located(std::string_view text, std::initializer_list<Step> steps,
                    std::optional<std::size_t> document = {}) {
    const auto found = locateNode(text, pathOf(steps, document), Resolver::standard(),
                                  Constructor::standard(), Parser::Encoding::utf8);
    if (!found) {
        ADD_FAILURE() << "nothing at " << pathOf(steps).text() << " in:\n" << text;
        return {};
    }
    return *found;
}

Mark at(std::int64_t line, std::int64_t column) {
    return Mark{line, column};
}

TEST(NodeLocator, KeysAreFoundByTheTextsTheTreeShows) {
    const std::string_view text = "a.b: 1\n"
                                  "'quoted \"key\"': 2\n"
                                  "schlüssel: 3\n"
                                  "1: int\n"
                                  "true: bool\n"
                                  "~: null\n"
                                  "0x1F: hex\n";
    EXPECT_EQ(located(text, {"a.b"}), (LocatedNode{at(1, 1), "1"}));
    EXPECT_EQ(located(text, {"quoted \"key\""}), (LocatedNode{at(2, 1), "2"}));
    EXPECT_EQ(located(text, {"schlüssel"}), (LocatedNode{at(3, 1), "3"}));
    EXPECT_EQ(located(text, {"1"}).label, at(4, 1));
    EXPECT_EQ(located(text, {"true"}).label, at(5, 1));
    EXPECT_EQ(located(text, {"~"}).label, at(6, 1));
    EXPECT_EQ(located(text, {"0x1F"}).label, at(7, 1));
    EXPECT_EQ(located(text, {}),
              (LocatedNode{at(1, 1), std::string(text.substr(0, text.size() - 1))}));
}

TEST(NodeLocator, ColumnsCountScalarsAfterNonAsciiText) {
    const std::string_view text = "ключ: {née: été, x: [ä, ö]}\n";
    EXPECT_EQ(located(text, {"ключ", "née"}), (LocatedNode{at(1, 8), "été"}));
    EXPECT_EQ(located(text, {"ключ", "x", std::size_t{1}}), (LocatedNode{at(1, 25), "ö"}));
    EXPECT_EQ(located(text, {"ключ"}).value, "{née: été, x: [ä, ö]}");
}

TEST(NodeLocator, ComplexKeysAreFoundByTheirFlowText) {
    const std::string_view text = "? [a, b]\n"
                                  ": seq\n"
                                  "{x: 1}: map\n"
                                  "? |\n"
                                  "  two\n"
                                  "  lines\n"
                                  ": literal\n";
    EXPECT_EQ(located(text, {"[a, b]"}), (LocatedNode{at(1, 3), "seq"}));
    EXPECT_EQ(located(text, {"{x: 1}"}), (LocatedNode{at(3, 1), "map"}));
    EXPECT_EQ(located(text, {"two\nlines\n"}), (LocatedNode{at(4, 3), "literal"}));
}

TEST(NodeLocator, MergedKeysAreFoundWhereTheMergedMappingWritesThem) {
    const std::string_view text = "base: &base\n"
                                  "  a: 1\n"
                                  "  b: 2\n"
                                  "more: &more {b: 3, c: 4}\n"
                                  "one:\n"
                                  "  <<: *base\n"
                                  "  b: own\n"
                                  "several:\n"
                                  "  <<: [*more, *base]\n"
                                  "nested:\n"
                                  "  <<: &inner\n"
                                  "    <<: *more\n"
                                  "    d: 5\n";
    EXPECT_EQ(located(text, {"one", "a"}), (LocatedNode{at(2, 3), "1"}));
    // The own key overrides the merged one, and its row is the own key's.
    EXPECT_EQ(located(text, {"one", "b"}), (LocatedNode{at(7, 3), "own"}));
    // Earlier merged mappings override later ones.
    EXPECT_EQ(located(text, {"several", "b"}), (LocatedNode{at(4, 14), "3"}));
    EXPECT_EQ(located(text, {"several", "a"}), (LocatedNode{at(2, 3), "1"}));
    EXPECT_EQ(located(text, {"nested", "c"}), (LocatedNode{at(4, 20), "4"}));
    EXPECT_EQ(located(text, {"nested", "d"}), (LocatedNode{at(13, 5), "5"}));
    EXPECT_FALSE(locateNode(text, pathOf({"one", "<<"})));
}

TEST(NodeLocator, AliasesGiveWhatTheyNameWithoutItsAnchor) {
    const std::string_view text = "scalar: &s \"quoted\\tvalue\"\n"
                                  "map: &m # the map\n"
                                  "  x: 1\n"
                                  "  y: [2, 3]\n"
                                  "copies:\n"
                                  "  - *s\n"
                                  "  - *m\n"
                                  "flow: &f !!seq [a, b]\n"
                                  "again: *f\n";
    EXPECT_EQ(located(text, {"copies", std::size_t{0}}), (LocatedNode{at(6, 3), "quoted\tvalue"}));
    EXPECT_EQ(located(text, {"copies", std::size_t{1}}),
              (LocatedNode{at(7, 3), "x: 1\ny: [2, 3]"}));
    EXPECT_EQ(located(text, {"copies", std::size_t{1}, "y", std::size_t{1}}),
              (LocatedNode{at(4, 10), "3"}));
    EXPECT_EQ(located(text, {"map"}).value, "x: 1\ny: [2, 3]");
    EXPECT_EQ(located(text, {"again"}), (LocatedNode{at(9, 1), "[a, b]"}));
}

TEST(NodeLocator, ScalarsGiveTheirLoadedText) {
    const std::string_view text = "literal: |\n"
                                  "  line one\n"
                                  "    indented\n"
                                  "\n"
                                  "folded: >-\n"
                                  "  folded\n"
                                  "  text\n"
                                  "single: 'it''s'\n"
                                  "double: \"a\\u00e9\\\"b\\n\"\n"
                                  "plain: multi\n"
                                  "  line\n"
                                  "int: 0x10\n"
                                  "date: 2001-12-14\n"
                                  "empty:\n";
    EXPECT_EQ(located(text, {"literal"}).value, "line one\n  indented\n");
    EXPECT_EQ(located(text, {"folded"}).value, "folded text");
    EXPECT_EQ(located(text, {"single"}).value, "it's");
    EXPECT_EQ(located(text, {"double"}).value, "a\u00e9\"b\n");
    EXPECT_EQ(located(text, {"plain"}).value, "multi line");
    EXPECT_EQ(located(text, {"int"}).value, "0x10");
    EXPECT_EQ(located(text, {"date"}).value, "2001-12-14");
    EXPECT_EQ(located(text, {"empty"}), (LocatedNode{at(14, 1), ""}));
}

TEST(NodeLocator, BlockCollectionsKeepTheirCommentsAndLoseTheirIndentation) {
    const std::string_view text = "outer:\n"
                                  "  inner: # about inner\n"
                                  "    a: 1 # one\n"
                                  "    # between\n"
                                  "    b: |\n"
                                  "      text\n"
                                  "\n"
                                  "    # trailing, not part of inner\n"
                                  "  list:\n"
                                  "  - x\n"
                                  "  - - y\n"
                                  "    - z # last\n"
                                  "\n"
                                  "# after\n";
    EXPECT_EQ(located(text, {"outer", "inner"}),
              (LocatedNode{at(2, 3), "a: 1 # one\n# between\nb: |\n  text"}));
    EXPECT_EQ(located(text, {"outer", "list"}),
              (LocatedNode{at(9, 3), "- x\n- - y\n  - z # last"}));
    EXPECT_EQ(located(text, {"outer", "list", std::size_t{1}}),
              (LocatedNode{at(11, 3), "- y\n- z # last"}));
    EXPECT_EQ(located(text, {"outer", "list", std::size_t{1}, std::size_t{1}}),
              (LocatedNode{at(12, 5), "z"}));
    EXPECT_EQ(located(text, {"outer"}).value,
              "inner: # about inner\n  a: 1 # one\n  # between\n  b: |\n    text\n\n"
              "  # trailing, not part of inner\nlist:\n- x\n- - y\n  - z # last");
}

TEST(NodeLocator, FlowCollectionsEndAtTheirBracket) {
    const std::string_view text = "flow: &a !!map {\n"
                                  "    k: [1, 2],  # inside\n"
                                  "    j: v\n"
                                  "  }  # after\n"
                                  "seq: [ {a: 1}, b ]\n";
    // Later lines lose as many spaces as the first line's column, as far as they have them.
    EXPECT_EQ(located(text, {"flow"}).value, "{\nk: [1, 2],  # inside\nj: v\n}");
    EXPECT_EQ(located(text, {"flow", "k"}), (LocatedNode{at(2, 5), "[1, 2]"}));
    EXPECT_EQ(located(text, {"seq", std::size_t{0}}), (LocatedNode{at(5, 8), "{a: 1}"}));
    EXPECT_EQ(located(text, {"seq", std::size_t{1}}), (LocatedNode{at(5, 16), "b"}));
}

TEST(NodeLocator, SequenceElementsAreLabelledByTheirDash) {
    const std::string_view text = "- plain\n"
                                  "- &anchored\n"
                                  "  k: v\n"
                                  "-\n"
                                  "  # a comment between\n"
                                  "  late\n"
                                  "-   spaced\n"
                                  "- !!str\n"
                                  "-\n";
    EXPECT_EQ(located(text, {std::size_t{0}}).label, at(1, 1));
    EXPECT_EQ(located(text, {std::size_t{1}}), (LocatedNode{at(2, 1), "k: v"}));
    EXPECT_EQ(located(text, {std::size_t{2}}), (LocatedNode{at(4, 1), "late"}));
    EXPECT_EQ(located(text, {std::size_t{3}}), (LocatedNode{at(7, 1), "spaced"}));
    EXPECT_EQ(located(text, {std::size_t{4}}), (LocatedNode{at(8, 1), ""}));
    EXPECT_EQ(located(text, {std::size_t{5}}), (LocatedNode{at(9, 1), ""}));
}

TEST(NodeLocator, SetsOrderedMapsAndPairsFollowTheirBuiltShape) {
    const std::string_view text = "set: !!set {a, b}\n"
                                  "omap: !!omap\n"
                                  "  - one: 1\n"
                                  "  - not a pair\n"
                                  "  - two: 2\n"
                                  "pairs: !!pairs [{k: v}, {}, {k: w}]\n";
    EXPECT_EQ(located(text, {"set"}).value, "{a, b}");
    EXPECT_FALSE(locateNode(text, pathOf({"set", "a"})));
    EXPECT_EQ(located(text, {"omap", std::size_t{1}}), (LocatedNode{at(5, 3), "two: 2"}));
    EXPECT_FALSE(locateNode(text, pathOf({"omap", std::size_t{2}})));
    EXPECT_FALSE(locateNode(text, pathOf({"omap", std::size_t{0}, "one"})));
    EXPECT_EQ(located(text, {"pairs", std::size_t{1}}), (LocatedNode{at(6, 29), "{k: w}"}));
}

TEST(NodeLocator, StreamsLocateInTheDocumentThePathNames) {
    const std::string_view text = "a: first\n"
                                  "---\n"
                                  "a: second\n"
                                  "--- !!map\n"
                                  "# comment\n"
                                  "list: [x]\n"
                                  "...\n";
    EXPECT_EQ(located(text, {"a"}), (LocatedNode{at(1, 1), "first"}));
    EXPECT_EQ(located(text, {"a"}, 0), (LocatedNode{at(1, 1), "first"}));
    EXPECT_EQ(located(text, {"a"}, 1), (LocatedNode{at(3, 1), "second"}));
    EXPECT_EQ(located(text, {}, 2), (LocatedNode{at(4, 5), "list: [x]"}));
    EXPECT_EQ(located(text, {"list", std::size_t{0}}, 2), (LocatedNode{at(6, 8), "x"}));
    EXPECT_FALSE(locateNode(text, pathOf({}, 3)));
}

TEST(NodeLocator, PathsThatLeadNowhereAndBadTextsFindNothing) {
    const std::string_view text = "a: {b: [1, 2]}\n";
    EXPECT_FALSE(locateNode(text, pathOf({"missing"})));
    EXPECT_FALSE(locateNode(text, pathOf({"a", "b", std::size_t{2}})));
    EXPECT_FALSE(locateNode(text, pathOf({"a", std::size_t{0}})));
    EXPECT_FALSE(locateNode(text, pathOf({"a", "b", "c"})));
    EXPECT_FALSE(locateNode(text, pathOf({"a", "b", std::size_t{0}, "x"})));
    EXPECT_FALSE(locateNode("a: [unclosed\n", pathOf({})));
    EXPECT_FALSE(locateNode("a: 1\na: 2\n", pathOf({"a"})));
    EXPECT_FALSE(locateNode("a: *nowhere\n", pathOf({})));
    EXPECT_FALSE(locateNode("bad: \xff\xfe\n", pathOf({})));
    EXPECT_FALSE(locateNode("", pathOf({})));
    EXPECT_FALSE(locateNode("# only a comment\n", pathOf({})));
    // A later document that fails makes the whole text fail, as it does loading it.
    EXPECT_FALSE(locateNode("a: 1\n---\n[\n", pathOf({"a"}, 0)));
}

TEST(NodeLocator, AliasBombsAndDeepNestingFindNothing) {
    std::string bomb = "a: &a [x, x, x, x, x, x, x, x, x, x]\n";
    for (char name = 'b'; name <= 'k'; ++name) {
        const char previous = static_cast<char>(name - 1);
        bomb += std::string(1, name) + ": &" + name + " [*" + previous + ", *" + previous + ", *" +
                previous + ", *" + previous + ", *" + previous + ", *" + previous + ", *" +
                previous + ", *" + previous + ", *" + previous + ", *" + previous + "]\n";
    }
    EXPECT_FALSE(locateNode(bomb, pathOf({"a"})));
    EXPECT_FALSE(locateNode(std::string(5000, '[') + std::string(5000, ']'), pathOf({})));
    NodePath tooDeep;
    tooDeep.steps.assign(1001, PathStep::index(0));
    EXPECT_FALSE(locateNode(std::string(900, '[') + std::string(900, ']'), tooDeep));
}

TEST(NodeLocator, OneLocatorAnswersManyPaths) {
    NodeLocator locator("a: [1, {b: 2}]\n");
    ASSERT_TRUE(locator.loaded());
    EXPECT_EQ(locator.locate(pathOf({"a", std::size_t{1}, "b"})), (LocatedNode{at(1, 9), "2"}));
    EXPECT_EQ(locator.locate(pathOf({"a", std::size_t{1}})), (LocatedNode{at(1, 8), "{b: 2}"}));
    EXPECT_EQ(locator.locate(pathOf({"a"})), (LocatedNode{at(1, 1), "[1, {b: 2}]"}));
    EXPECT_FALSE(NodeLocator("[").loaded());
}

} // namespace
} // namespace quessel::yaml

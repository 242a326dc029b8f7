// How the large-document benchmark reads a document: the page's line count, the subtree it
// collapses and the text it searches for inside it.
#include "bench/app/DocumentShape.hpp"
#include "yaml/Load.hpp"

#include <gtest/gtest.h>

namespace quessel::bench {
namespace {

yaml::YamlValue loaded(std::string_view text) {
    return *yaml::load(text);
}

TEST(DocumentShapeLines, CountOneLinePerEntryAndElementAtEveryDepth) {
    EXPECT_EQ(pageLines(loaded("a: 1\nb:\n  - x\n  - {c: 2, d: [3]}\n")), 7u);
    EXPECT_EQ(pageLines(loaded("plain scalar")), 0u);
    EXPECT_EQ(pageLines(loaded("{}")), 0u);
    // Merged keys are lines of the mapping they are merged into.
    EXPECT_EQ(pageLines(loaded("base: &b {x: 1, y: 2}\nuse: {<<: *b, z: 3}\n")), 7u);
}

TEST(DocumentShapeSubtree, PicksTheBiggestEntryAndATextFoundOnlyInside) {
    const auto target = biggestTopLevelSubtree(loaded(R"(small:
  name: alpha
  other: beta
big:
  items:
    - name: x
      Special_Key: 1
    - name: y
      Special_Key: 2
)"));
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->key, "big");
    EXPECT_EQ(target->lines, 8u);
    // "name" also occurs outside; "items" only once.
    EXPECT_EQ(target->insideText, "special_key");
}

TEST(DocumentShapeSubtree, RefusesTextsThatOccurOutsideTheSubtree) {
    // Every repeated key of the big entry also shows elsewhere: in a value, in a top-level key,
    // in the "N items" previews.
    EXPECT_FALSE(biggestTopLevelSubtree(loaded(R"(small: {note: the special_key here}
itemsx: 1
big:
  - special_key: 1
    item: a
  - special_key: 2
    item: b
)")));
    EXPECT_FALSE(biggestTopLevelSubtree(loaded("- a: 1\n- a: 2\n")));
    EXPECT_FALSE(biggestTopLevelSubtree(loaded("just text")));
}

TEST(DocumentShapeLines, GeneratesDocumentsOfAboutTheAskedLines) {
    for (const std::size_t lines : {500u, 1000u}) {
        const std::size_t made = pageLines(loaded(documentOfLines(lines)));
        EXPECT_GE(made, lines);
        EXPECT_LT(made, lines + 100); // at most one generated record more
    }
}

} // namespace
} // namespace quessel::bench

// Streams of several documents: each document loads under the one-document rules, and any
// failure fails the whole stream.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/Load.hpp"

#include <gtest/gtest.h>

namespace quessel::yaml {
namespace {

using testing::integer;

TEST(Streams, EveryDocumentInOrder) {
    EXPECT_TRUE(loadAll("").empty());
    EXPECT_TRUE(loadAll("# nothing\n").empty());
    EXPECT_EQ(loadAll("a: 1\n"), (std::vector<YamlValue>{YamlValue(load("a: 1").value())}));
    const std::vector<YamlValue> documents = loadAll("a: 1\n---\n- x\n--- 3\n");
    ASSERT_EQ(documents.size(), 3U);
    EXPECT_EQ(documents[0].as<Mapping>().find("a")->as<std::int64_t>(), 1);
    EXPECT_EQ(documents[1], YamlValue(Sequence{"x"}));
    EXPECT_EQ(documents[2], integer(3));
}

TEST(Streams, EmptyAndExplicitlyEndedDocumentsAreNull) {
    const std::vector<YamlValue> documents = loadAll("---\n---\na: 1\n...\n---\n...\n");
    ASSERT_EQ(documents.size(), 3U);
    EXPECT_EQ(documents[0], YamlValue(Null{}));
    EXPECT_TRUE(documents[1].is<Mapping>());
    EXPECT_EQ(documents[2], YamlValue(Null{}));
}

TEST(Streams, ABadLaterDocumentFailsTheStreamWithItsOwnLine) {
    try {
        loadAll("a: 1\n---\nb: [1,\n");
        FAIL() << "the stream loaded";
    } catch (const YamlError& error) {
        EXPECT_EQ(error.kind(), YamlError::Kind::parser);
        EXPECT_TRUE(error.description().starts_with("4:1:")) << error.description();
    }
    EXPECT_THROW(loadAll("a: 1\n---\nb: 1\nb: 2\n"), YamlError);
}

TEST(Streams, AnchorsBelongToTheirDocument) {
    EXPECT_EQ(loadAll("a: &x 1\nb: *x\n---\nc: &x 2\nd: *x\n")[1]
                  .as<Mapping>()
                  .find("d")
                  ->as<std::int64_t>(),
              2);
    try {
        loadAll("a: &x 1\n---\nb: *x\n");
        FAIL() << "an alias named an anchor of the document before";
    } catch (const YamlError& error) {
        EXPECT_EQ(error.problem(), "found undefined alias");
    }
}

TEST(Streams, TheSingleDocumentLoadStillRefusesSeveral) {
    EXPECT_THROW(load("a: 1\n---\nb: 2\n"), YamlError);
}

} // namespace
} // namespace quessel::yaml

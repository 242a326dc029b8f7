// Node paths as yq and jq read them: identifiers after a dot, every other key as a JSON string
// in brackets, indices in brackets, and a dot before a leading bracket.
#include "yaml/NodePath.hpp"

#include <gtest/gtest.h>

namespace quessel::yaml {
namespace {

NodePath keys(std::initializer_list<std::string> texts) {
    NodePath path;
    for (const std::string& text : texts) {
        path.steps.push_back(PathStep::key(text));
    }
    return path;
}

std::string keyPath(std::string text) {
    return keys({std::move(text)}).text();
}

TEST(NodePath, TheRootIsADotWhateverDocumentItIsIn) {
    EXPECT_EQ(NodePath{}.text(), ".");
    EXPECT_EQ((NodePath{2, {}}.text()), ".");
    EXPECT_EQ((NodePath{1, {PathStep::key("a")}}.text()), ".a");
}

TEST(NodePath, IdentifiersFollowADotAndEverythingElseIsBracketed) {
    EXPECT_EQ(keyPath("name"), ".name");
    EXPECT_EQ(keyPath("_private_2"), "._private_2");
    EXPECT_EQ(keyPath("Key9"), ".Key9");
    EXPECT_EQ(keyPath("200"), R"(.["200"])");
    EXPECT_EQ(keyPath("2fa"), R"(.["2fa"])");
    EXPECT_EQ(keyPath(""), R"(.[""])");
    EXPECT_EQ(keyPath("a.b"), R"(.["a.b"])");
    EXPECT_EQ(keyPath("a b"), R"(.["a b"])");
    EXPECT_EQ(keyPath("kebab-case"), R"(.["kebab-case"])");
    EXPECT_EQ(keyPath("$ref"), R"(.["$ref"])");
    EXPECT_EQ(keyPath("café"), R"(.["café"])");
}

TEST(NodePath, BracketedKeysAreJsonStrings) {
    EXPECT_EQ(keyPath(R"(say "hi")"), R"(.["say \"hi\""])");
    EXPECT_EQ(keyPath(R"(C:\dir)"), R"(.["C:\\dir"])");
    EXPECT_EQ(keyPath("two\nlines"), R"(.["two\nlines"])");
    EXPECT_EQ(keyPath("tab\there"), R"(.["tab\there"])");
    EXPECT_EQ(keyPath("cr\r"), R"(.["cr\u000d"])");
    EXPECT_EQ(keyPath(std::string("nul\0", 4)), R"(.["nul\u0000"])");
    EXPECT_EQ(keyPath("\x1f\x7f"), R"(.["\u001f\u007f"])");
    // Non-ASCII stays as written, the line separators too (JSON allows them raw).
    EXPECT_EQ(keyPath("ключ 🔑\u2028"), ".[\"ключ 🔑\u2028\"]");
    // Bytes that are not UTF-8 would make the path unreadable to both tools.
    EXPECT_EQ(keyPath("bad\xff"), ".[\"bad\xEF\xBF\xBD\"]");
}

TEST(NodePath, StepsChainWithADotOnlyBeforeALeadingBracket) {
    EXPECT_EQ(keys({"spec", "containers"}).text(), ".spec.containers");
    NodePath image = keys({"spec", "containers"});
    image.steps.push_back(PathStep::index(0));
    image.steps.push_back(PathStep::key("image"));
    EXPECT_EQ(image.text(), ".spec.containers[0].image");
    EXPECT_EQ(keys({"metadata", "labels", "app.kubernetes.io/name"}).text(),
              R"(.metadata.labels["app.kubernetes.io/name"])");
    EXPECT_EQ(keys({"paths", "/pets/{id}", "get", "responses", "200"}).text(),
              R"(.paths["/pets/{id}"].get.responses["200"])");

    NodePath leadingIndex{std::nullopt, {PathStep::index(0), PathStep::key("a")}};
    EXPECT_EQ(leadingIndex.text(), ".[0].a");
    NodePath nested{std::nullopt, {PathStep::index(12), PathStep::index(3), PathStep::key("")}};
    EXPECT_EQ(nested.text(), R"(.[12][3][""])");
    EXPECT_EQ(keys({"a b", "c d"}).text(), R"(.["a b"]["c d"])");
}

} // namespace
} // namespace quessel::yaml

// What the source writes beside values: custom tags as written, anchors, aliases and keys that
// came in through merge keys. None of it changes the values.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/Load.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quessel::yaml {
namespace {

using testing::loaded;

const MappingEntry& entry(const YamlValue& mapping, std::string_view key) {
    for (const MappingEntry& candidate : mapping.as<Mapping>().entries()) {
        if (candidate.key == key) {
            return candidate;
        }
    }
    ADD_FAILURE() << "no key " << key;
    static const MappingEntry none;
    return none;
}

std::string tagOf(const YamlValue& value) {
    return value.notes ? value.notes->tag : "";
}

TEST(NodeNotes, CustomTagsAsWrittenOnScalarsCollectionsAndKeys) {
    const YamlValue root = loaded("%TAG !e! tag:example.com,2000:\n---\n"
                                  "ref: !Ref Bucket\n"
                                  "tuple: !!python/tuple [1, 2]\n"
                                  "map: !include {file: a.yaml}\n"
                                  "verbatim: !<tag:example.com,2000:x> v\n"
                                  "handle: !e!thing v\n"
                                  "local: !<!bar> v\n"
                                  "!key k: 1\n");
    EXPECT_EQ(tagOf(entry(root, "ref").value), "!Ref");
    EXPECT_EQ(entry(root, "ref").value, YamlValue("Bucket"));
    EXPECT_EQ(tagOf(entry(root, "tuple").value), "!!python/tuple");
    EXPECT_TRUE(entry(root, "tuple").value.is<Sequence>());
    EXPECT_EQ(tagOf(entry(root, "map").value), "!include");
    EXPECT_TRUE(entry(root, "map").value.is<Mapping>());
    EXPECT_EQ(tagOf(entry(root, "verbatim").value), "!<tag:example.com,2000:x>");
    EXPECT_EQ(tagOf(entry(root, "handle").value), "!<tag:example.com,2000:thing>");
    EXPECT_EQ(tagOf(entry(root, "local").value), "!bar");
    ASSERT_TRUE(entry(root, "k").keyNotes);
    EXPECT_EQ(entry(root, "k").keyNotes->tag, "!key");
}

TEST(NodeNotes, StandardTagsAndPlainValuesNoteNothing) {
    const YamlValue root = loaded("a: !!str 1\nb: !!int 2\nc: !!map {x: 1}\nd: ! e\nf: plain\n"
                                  "g: !!set {x}\nh: !!binary aGk=\n");
    for (const MappingEntry& item : root.as<Mapping>().entries()) {
        EXPECT_FALSE(item.value.notes) << item.key;
        EXPECT_FALSE(item.keyNotes) << item.key;
    }
}

TEST(NodeNotes, AnchorsWhereDefinedAndAliasesWhereUsed) {
    const YamlValue root = loaded("a: &s text\nb: *s\nc: &m {x: &inner 1}\nd: *m\n"
                                  "e: &t !Ref y\nf: *t\n&k key: 1\n*s : 2\n");
    EXPECT_EQ(entry(root, "a").value.notes->anchor, "s");
    EXPECT_EQ(entry(root, "b").value.notes->alias, "s");
    EXPECT_TRUE(entry(root, "b").value.notes->anchor.empty());
    EXPECT_EQ(entry(root, "c").value.notes->anchor, "m");
    EXPECT_EQ(entry(root, "d").value.notes->alias, "m");
    // Inside an aliased collection the nodes are the ones defined: they keep their notes.
    EXPECT_EQ(entry(entry(root, "d").value, "x").value.notes->anchor, "inner");
    EXPECT_EQ(entry(root, "e").value.notes->anchor, "t");
    EXPECT_EQ(entry(root, "e").value.notes->tag, "!Ref");
    EXPECT_EQ(entry(root, "f").value.notes->alias, "t");
    EXPECT_TRUE(entry(root, "f").value.notes->tag.empty());
    EXPECT_EQ(entry(root, "key").keyNotes->anchor, "k");
    EXPECT_EQ(entry(root, "text").keyNotes->alias, "s");
    EXPECT_EQ(root,
              loaded("a: text\nb: text\nc: {x: 1}\nd: {x: 1}\ne: y\nf: y\nkey: 1\ntext: 2\n"));
}

TEST(NodeNotes, MergedKeysNameTheMappingTheyCameFrom) {
    const YamlValue root = loaded("base: &base {a: 1, b: 2}\n"
                                  "more: &more {<<: *base, c: 3}\n"
                                  "one: {<<: *base, b: 9}\n"
                                  "two: {<<: [*more, {d: 4}], e: 5}\n");
    const YamlValue& one = entry(root, "one").value;
    ASSERT_TRUE(entry(one, "a").keyNotes);
    EXPECT_TRUE(entry(one, "a").keyNotes->merged);
    EXPECT_EQ(entry(one, "a").keyNotes->mergedFrom, "base");
    // An own key overrides the merged one, and is no longer marked.
    EXPECT_FALSE(entry(one, "b").keyNotes);
    EXPECT_EQ(entry(one, "b").value, testing::integer(9));
    const YamlValue& two = entry(root, "two").value;
    EXPECT_EQ(entry(two, "a").keyNotes->mergedFrom, "base"); // through more, nested
    EXPECT_EQ(entry(two, "c").keyNotes->mergedFrom, "more");
    EXPECT_TRUE(entry(two, "d").keyNotes->merged);
    EXPECT_TRUE(entry(two, "d").keyNotes->mergedFrom.empty()); // an inline mapping
    EXPECT_FALSE(entry(two, "e").keyNotes);
}

TEST(NodeNotes, CopiesCarryTheNotesAndEqualityIgnoresThem) {
    const YamlValue tagged = loaded("!Ref x");
    const YamlValue copy = tagged; // NOLINT(performance-unnecessary-copy-initialization)
    ASSERT_TRUE(copy.notes);
    EXPECT_EQ(copy.notes->tag, "!Ref");
    EXPECT_EQ(tagged, YamlValue("x"));
}

// Notes that many values share are held once; each value keeps them for as long as it lives,
// whichever of them is released first, also on other threads.
TEST(NodeNotes, SharedNotesOutliveTheValuesTheyCameWith) {
    std::string text = "base: &base {a: 1}\nlist: &list [x]\n";
    for (int i = 0; i < 50; ++i) {
        text += "m" + std::to_string(i) + ": {<<: *base, l: *list}\n";
    }
    std::optional<YamlValue> root = loaded(text);
    const YamlValue first = entry(*root, "m0").value;
    YamlValue last = entry(*root, "m49").value;
    EXPECT_EQ(entry(first, "a").keyNotes.get(), entry(last, "a").keyNotes.get());
    std::vector<NotesBox> kept;
    for (const MappingEntry& record : root->as<Mapping>().entries()) {
        if (record.key.starts_with('m')) {
            kept.push_back(entry(record.value, "a").keyNotes);
            kept.push_back(entry(record.value, "l").value.notes);
        }
    }
    root.reset();
    std::thread([&kept] { kept.erase(kept.begin(), kept.begin() + 50); }).join();
    last = YamlValue("replaced"); // the copy's notes released before the first's
    EXPECT_EQ(entry(first, "a").keyNotes->mergedFrom, "base");
    EXPECT_EQ(entry(first, "l").value.notes->alias, "list");
    for (const NotesBox& notes : kept) {
        ASSERT_TRUE(notes);
        EXPECT_TRUE(notes->merged ? notes->mergedFrom == "base" : notes->alias == "list");
    }
    NotesBox moved = std::move(kept.back());
    kept.back() = moved;
    kept.front() = std::move(moved);
    EXPECT_FALSE(moved); // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(kept.front()->alias, kept.back()->alias);
}

} // namespace
} // namespace quessel::yaml

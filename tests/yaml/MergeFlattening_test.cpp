// Merge keys: each mapping keeps one pair per key text, and what it builds is what the merge
// rules give for the full list, on hand-made chains, random merge documents and the corpus.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/CanonicalText.hpp"
#include "yaml/TagName.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <unordered_set>

namespace quessel::yaml {
namespace {

using testing::at;
using testing::integer;
using testing::loaded;
using testing::rootOf;

TEST(MergeFlattening, AChainMergingEachMappingTwiceLoadsIntoItsDistinctKeys) {
    std::ostringstream text;
    text << "m0: &m0 {k0: 0}\n";
    for (int i = 1; i <= 40; ++i) {
        text << "m" << i << ": &m" << i << " {<<: [*m" << i - 1 << ", *m" << i - 1 << "], k" << i
             << ": " << i << "}\n";
    }
    const YamlValue value = loaded(text.str());
    ASSERT_EQ(value.as<Mapping>().size(), 41U);
    const YamlValue& last = at(value, "m40");
    ASSERT_EQ(last.as<Mapping>().size(), 41U);
    EXPECT_EQ(at(last, "k0"), integer(0));
    EXPECT_EQ(at(last, "k39"), integer(39));
}

TEST(MergeFlattening, AKeyTextKeepsItsFirstPlaceAndSpellingAndTakesItsLastValue) {
    Parser parser("- &a {x: 1, y: 2}\n- &b {y: 3, z: 4}\n- {<<: [*a, *b], z: 5}\n");
    const std::vector<NodePair> pairs = rootOf(parser).nodes()[2].flatten();
    std::vector<std::pair<std::string_view, std::string_view>> texts;
    for (const NodePair& pair : pairs) {
        texts.emplace_back(pair.key.string(), pair.value.string());
    }
    // Merged last element first: b's y and z, then a's x and y; then the own z.
    EXPECT_EQ(texts, (decltype(texts){{"y", "2"}, {"z", "5"}, {"x", "1"}}));

    const std::string decomposed = "e\xCC\x81";
    const YamlValue value =
        loaded("a: &a {" + decomposed + ": merged}\nb: {<<: *a, \xC3\xA9: own}");
    const auto& entries = at(value, "b").as<Mapping>().entries();
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].key, decomposed);
    EXPECT_EQ(entries[0].value, YamlValue("own"));
}

// A mapping's own keys may repeat a text under two tags: the later one still takes the place of
// the earlier, also when no merged key has the text.
TEST(MergeFlattening, OwnKeysOfOneTextUnderTwoTagsFoldIntoOne) {
    Parser parser("{<<: {a: 0}, 1: x, \"1\": y, b: z}");
    const std::vector<NodePair> pairs = rootOf(parser).flatten();
    ASSERT_EQ(pairs.size(), 3U);
    EXPECT_EQ(pairs[1].key.string(), "1");
    EXPECT_EQ(pairs[1].value.string(), "y");

    const YamlValue value = loaded("{<<: {a: 0}, 1: x, \"1\": y, b: z}");
    EXPECT_EQ(value.as<Mapping>().size(), 3U);
    EXPECT_EQ(value, loaded("{a: 0, '1': y, b: z}"));
}

TEST(MergeFlattening, MergingMappingsInsideEachOtherKeepTheirOwnPairs) {
    // The inner mappings are flattened one after the other while the outer one's pairs are in
    // use: in place, and again through each alias of the anchored copy.
    const std::string mapping =
        "{<<: *a, inner: {<<: [{s: 0}, *a]}, other: {<<: *a, t: 1, u: 2, v: 3}, r: 4}";
    const YamlValue value = loaded("a: &a {p: 1, q: 2}\nplain: " + mapping + "\no: &o " + mapping +
                                   "\ncopies: [*o, *o]\n");
    const YamlValue expected = loaded(
        "{p: 1, q: 2, inner: {p: 1, q: 2, s: 0}, other: {p: 1, q: 2, t: 1, u: 2, v: 3}, r: 4}");
    EXPECT_EQ(at(value, "plain"), expected);
    EXPECT_EQ(at(value, "o"), expected);
    EXPECT_EQ(at(value, "copies"), YamlValue(Sequence{expected, expected}));
}

TEST(MergeFlattening, WhichKeysMergeIsTheResolversChoice) {
    const Resolver resolver({Resolver::Rule::fromPattern(std::string(TagName::merge), "^MERGE$")});
    // Its only rule makes every other plain text a string.
    EXPECT_EQ(load("{MERGE: {a: 1}, <<: 2}", resolver), loaded("{a: \"1\", \"<<\": \"2\"}"));
}

// --- the merge rules applied to the full list, as the reference ---

// Every pair in the order the rules give: the merged mappings' pairs (a sequence's last
// element first), then the mapping's own.
std::vector<NodePair> fullList(const Node& mapping) {
    std::vector<NodePair> merged;
    std::vector<NodePair> own;
    for (const NodePair& pair : mapping.pairs()) {
        if (pair.key.tag().name() != TagName::merge) {
            own.push_back(pair);
            continue;
        }
        std::vector<Node> sources;
        if (pair.value.kind() == Node::Kind::mapping) {
            sources.push_back(pair.value);
        }
        const auto elements = pair.value.nodes();
        std::copy_if(elements.rbegin(), elements.rend(), std::back_inserter(sources),
                     [](const Node& element) { return element.kind() == Node::Kind::mapping; });
        for (const Node& source : sources) {
            const std::vector<NodePair> pairs = fullList(source);
            merged.insert(merged.end(), pairs.begin(), pairs.end());
        }
    }
    merged.insert(merged.end(), own.begin(), own.end());
    return merged;
}

// What building a mapping makes of a list: each key text where it first stood, with the value
// it last had (a list with a collection key is left whole).
std::vector<NodePair> asBuilt(const std::vector<NodePair>& pairs) {
    if (std::any_of(pairs.begin(), pairs.end(),
                    [](const NodePair& pair) { return pair.key.kind() != Node::Kind::scalar; })) {
        return pairs;
    }
    std::vector<NodePair> kept;
    for (const NodePair& pair : pairs) {
        const auto earlier = std::find_if(kept.begin(), kept.end(), [&](const NodePair& other) {
            return canonicallyEqual(other.key.string(), pair.key.string());
        });
        if (earlier == kept.end()) {
            kept.push_back(pair);
        } else {
            earlier->value = pair.value;
        }
    }
    return kept;
}

bool sameNode(const Node& a, const Node& b) {
    return a.data() == b.data() && a.occurrence() == b.occurrence();
}

bool sameList(const std::vector<NodePair>& a, const std::vector<NodePair>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return sameNode(x.key, y.key) && sameNode(x.value, y.value);
    });
}

// Checks every mapping with a merge key in the text's tree; gives how many there were.
std::size_t checkMerges(const std::string& text, const std::string& name) {
    std::size_t checked = 0;
    try {
        Parser parser(text);
        std::vector<Node> pending{rootOf(parser)};
        std::unordered_set<const detail::NodeData*> seen;
        while (!pending.empty()) {
            const Node node = pending.back();
            pending.pop_back();
            if (!seen.insert(node.data()).second) {
                continue;
            }
            for (const NodePair& pair : node.pairs()) {
                pending.insert(pending.end(), {pair.key, pair.value});
                checked += pair.key.tag().name() == TagName::merge ? 1 : 0;
            }
            pending.insert(pending.end(), node.nodes().begin(), node.nodes().end());
            const bool merges =
                std::any_of(node.pairs().begin(), node.pairs().end(), [](const NodePair& pair) {
                    return pair.key.tag().name() == TagName::merge;
                });
            EXPECT_TRUE(!merges || sameList(node.flatten(), asBuilt(fullList(node))))
                << name << " at " << node.mark()->line;
        }
    } catch (const std::exception&) {
        // Invalid texts and streams of several documents have nothing to flatten.
    }
    return checked;
}

TEST(MergeFlattening, EveryMergeOfTheCorpusAndTheTestSuiteKeepsTheRulesResult) {
    const char* corpus = std::getenv("QUESSEL_CORPUS_DIR");
    const char* suite = std::getenv("QUESSEL_TEST_SUITE_DIR");
    ASSERT_TRUE(corpus != nullptr && suite != nullptr);
    std::size_t checked = 0;
    for (const char* root : {corpus, suite}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            const auto extension = entry.path().extension();
            if (extension == ".yaml" || extension == ".yml") {
                checked += checkMerges(testing::readFile(entry.path()), entry.path().string());
            }
        }
    }
    std::cout << "Merge keys checked: " << checked << "\n";
    EXPECT_GE(checked, 22U) << "the corpus's merges are missing";
}

// --- random documents against the merges written out ---

// Texts are appended piece by piece: `"text" + std::to_string(n)` trips a false warning of
// GCC 12 at -O3.
std::string numbered(std::string_view prefix, std::size_t number) {
    std::string text(prefix);
    text += std::to_string(number);
    return text;
}

// Appends `key: value` to a flow mapping's inside.
void append(std::string& pairs, const std::string& key, int value) {
    if (!pairs.empty()) {
        pairs += ", ";
    }
    pairs += key;
    pairs += ": ";
    pairs += std::to_string(value);
}

// A document of mappings that merge earlier ones (alone, in sequences with repeats, or written
// in place) over a few key texts, some of them spelt two ways, and the same document with the
// merges written out by the rules: later pairs win, and in a sequence the earlier mappings.
class MergeDocument {
public:
    explicit MergeDocument(unsigned seed) : random_(seed) {
        for (int i = 0; i < 12; ++i) {
            std::map<int, int> result;
            std::string pairs = mergeInto(i, result);
            for (const auto& [key, value] : randomPairs()) {
                append(pairs, spelling(key), value);
                result[key] = value;
            }
            const std::string name = numbered("m", i);
            text += name + ": &" + name + " {" + pairs + "}\n";
            expanded += name + ": " + written(result) + "\n";
            results_.push_back(result);
        }
    }

    std::string text;
    std::string expanded;

private:
    // Key texts 0 to 4; 3 is `1` or `"1"`, 4 a precomposed or a decomposed e acute.
    std::string spelling(int key) {
        static const std::vector<std::vector<std::string>> spellings = {
            {"a"}, {"b"}, {"c"}, {"1", "\"1\""}, {"\xC3\xA9", "e\xCC\x81"}};
        const auto& forms = spellings[static_cast<std::size_t>(key)];
        return forms[random_() % forms.size()];
    }

    std::map<int, int> randomPairs() {
        std::map<int, int> pairs;
        for (int key = 0; key < 5; ++key) {
            if (random_() % 2 == 0) {
                pairs[key] = ++lastValue_;
            }
        }
        return pairs;
    }

    std::string written(const std::map<int, int>& pairs) {
        std::string out;
        for (const auto& [key, value] : pairs) {
            append(out, spelling(key), value);
        }
        return "{" + out + "}";
    }

    // The merge key of mapping `i` (empty for none), and what it brings in.
    std::string mergeInto(int i, std::map<int, int>& merged) {
        const auto earlier = [&] { return static_cast<std::size_t>(random_() % i); };
        const unsigned kind = i == 0 ? 0 : random_() % 3;
        if (kind == 1) {
            const std::size_t source = earlier();
            merged = results_[source];
            return numbered("<<: *m", source);
        }
        if (kind == 0) {
            return "";
        }
        std::string elements;
        for (std::size_t n = 1 + random_() % 4; n > 0; --n) {
            std::map<int, int> pairs;
            if (random_() % 3 == 0) {
                pairs = randomPairs();
                elements += (elements.empty() ? "" : ", ") + written(pairs);
            } else {
                const std::size_t source = earlier();
                pairs = results_[source];
                elements += (elements.empty() ? "" : ", ") + numbered("*m", source);
            }
            merged.merge(pairs); // read left to right: an earlier element's key stays
        }
        return "<<: [" + elements + "]";
    }

    std::minstd_rand random_;
    std::vector<std::map<int, int>> results_;
    int lastValue_ = 0;
};

TEST(MergeFlattening, RandomMergesBuildWhatTheRulesWriteOut) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        const MergeDocument document(seed);
        ASSERT_EQ(loaded(document.text), loaded(document.expanded)) << document.text;
        checkMerges(document.text, numbered("seed ", seed));
    }
}

} // namespace
} // namespace quessel::yaml

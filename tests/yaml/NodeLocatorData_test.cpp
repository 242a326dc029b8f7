// Every row of every real document is found where the tree shows it: for each file of the
// corpus and each input of the YAML test suite that loads, every path of its value tree (the
// first ones in tree order) locates, its label lies in the text, a text value copies as the
// text loaded, and a collection's copy loads to the collection.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/MarkOffsets.hpp"
#include "yaml/NodeLocator.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace quessel::yaml {
namespace {

namespace fs = std::filesystem;
using testing::readFile;

constexpr std::size_t pathsPerFile = 2000;

struct Visit {
    const YamlValue* value;
    NodePath path;
};

// The document's paths in tree order, the node's own before those below it.
std::vector<Visit> pathsOf(const YamlValue& root, std::optional<std::size_t> document,
                           std::size_t limit) {
    std::vector<Visit> found;
    std::vector<Visit> pending{{&root, {document, {}}}};
    while (!pending.empty() && found.size() < limit) {
        Visit visit = std::move(pending.back());
        pending.pop_back();
        const auto below = [&](const YamlValue& value, PathStep step) {
            NodePath path = visit.path;
            path.steps.push_back(std::move(step));
            return Visit{&value, std::move(path)};
        };
        std::vector<Visit> children;
        if (const auto* mapping = std::get_if<Mapping>(&visit.value->storage)) {
            for (const MappingEntry& entry : mapping->entries()) {
                children.push_back(below(entry.value, PathStep::key(entry.key)));
            }
        } else if (const auto* sequence = std::get_if<Sequence>(&visit.value->storage)) {
            for (std::size_t index = 0; index < sequence->size(); ++index) {
                children.push_back(below((*sequence)[index], PathStep::index(index)));
            }
        }
        pending.insert(pending.end(), std::make_move_iterator(children.rbegin()),
                       std::make_move_iterator(children.rend()));
        found.push_back(std::move(visit));
    }
    return found;
}

// A collection's copied text, when it loads on its own (it may name anchors outside it), loads
// to the collection's value. The copy stops at its last content, so a block scalar there may
// need its line break back.
bool copiesAsItself(const YamlValue& value, const std::string& copied) {
    if (!value.is<Mapping>() && !value.is<Sequence>()) {
        return true;
    }
    for (const std::string& text : {copied, copied + "\n"}) {
        try {
            const std::optional<YamlValue> reloaded =
                load(text, Resolver::standard(), Constructor::standard(), Parser::Encoding::utf8);
            if (reloaded && *reloaded == value) {
                return true;
            }
        } catch (const YamlError&) {
            return true;
        }
    }
    return false;
}

// What went wrong locating the text's paths, or "" (also for a text that does not load).
std::string problemsLocating(const std::string& text, bool compareCopies, std::size_t& located) {
    std::vector<YamlValue> documents;
    try {
        documents =
            loadAll(text, Resolver::standard(), Constructor::standard(), Parser::Encoding::utf8);
    } catch (const YamlError&) {
        return "";
    }
    NodeLocator locator(text, Resolver::standard(), Constructor::standard(),
                        Parser::Encoding::utf8);
    const MarkOffsets offsets(text, Parser::Encoding::utf8);
    std::size_t budget = pathsPerFile;
    for (std::size_t index = 0; index < documents.size() && budget > 0; ++index) {
        const auto document =
            documents.size() > 1 ? std::optional<std::size_t>(index) : std::nullopt;
        for (const Visit& visit : pathsOf(documents[index], document, budget)) {
            --budget;
            const std::string where = visit.path.text() + " of document " + std::to_string(index);
            const std::optional<LocatedNode> node = locator.locate(visit.path);
            if (!node) {
                return "nothing at " + where;
            }
            if (!offsets.offsetOf(node->label)) {
                return "the label " + node->label.description() + " of " + where +
                       " is not in the text";
            }
            const auto* loadedText = std::get_if<std::string>(&visit.value->storage);
            if (loadedText != nullptr && *loadedText != node->value) {
                return where + " copies as \"" + node->value + "\", not as \"" + *loadedText + "\"";
            }
            if (compareCopies && !copiesAsItself(*visit.value, node->value)) {
                return where + " copies as \"" + node->value + "\", which loads to another value";
            }
            ++located;
        }
    }
    return "";
}

// Inputs whose copies load to another value on their own, as the copying rules make them.
const std::set<std::string> copiesDiffer = {
    // A keep (`|+`) block scalar ends the collection: its trailing blank lines are content, but
    // a copy ends with the last line that shows any.
    "F8F9/in.yaml", "JEF9/00/in.yaml", "JEF9/01/in.yaml", "K858/in.yaml",
    // A literal's last line holds only spaces beyond its indentation.
    "L24T/00/in.yaml", "L24T/01/in.yaml",
    // The root's `!!omap` tag stands before the copy.
    "J7PZ/in.yaml",
    // The pair in `[?x]` is a mapping in the sequence; `?x` on its own is a plain scalar.
    "HM87/01/in.yaml"};

void checkEveryFile(const fs::path& root, const std::function<bool(const fs::path&)>& wanted) {
    std::size_t files = 0;
    std::size_t located = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || !wanted(entry.path())) {
            continue;
        }
        ++files;
        const bool compareCopies =
            !copiesDiffer.contains(fs::relative(entry.path(), root).generic_string());
        const std::string problem =
            problemsLocating(readFile(entry.path()), compareCopies, located);
        EXPECT_EQ(problem, "") << entry.path();
    }
    std::cout << root << ": " << files << " files, " << located << " paths located\n";
    EXPECT_GT(files, 300U);
}

TEST(NodeLocatorData, EveryPathOfTheCorpusLocates) {
    const char* dir = std::getenv("QUESSEL_CORPUS_DIR");
    ASSERT_NE(dir, nullptr) << "QUESSEL_CORPUS_DIR is not set";
    checkEveryFile(dir, [](const fs::path& path) {
        return path.extension() == ".yaml" || path.extension() == ".yml";
    });
}

TEST(NodeLocatorData, EveryPathOfTheTestSuiteLocates) {
    const char* dir = std::getenv("QUESSEL_TEST_SUITE_DIR");
    ASSERT_NE(dir, nullptr) << "QUESSEL_TEST_SUITE_DIR is not set";
    checkEveryFile(dir, [](const fs::path& path) { return path.filename() == "in.yaml"; });
}

} // namespace
} // namespace quessel::yaml

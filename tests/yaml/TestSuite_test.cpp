// The YAML test suite: no case crashes the loader, every case the suite marks as an error
// fails with a YamlError, and every single-document case with a JSON value loads to that
// value, except the known differences listed (with their reasons) in data/known-differences.tsv.
#include "tests/yaml/JsonReader.hpp"
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/Load.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace quessel::yaml {
namespace {

namespace fs = std::filesystem;
using testing::readFile;

fs::path sourceDir() {
    const char* dir = std::getenv("QUESSEL_SOURCE_DIR");
    return dir != nullptr ? fs::path(dir) : fs::current_path();
}

// JSON has one kind of number: integers and floats of equal value match.
bool sameAsJson(const YamlValue& value, const YamlValue& json) {
    const auto number = [](const YamlValue& v) -> std::optional<double> {
        if (v.is<std::int64_t>()) {
            return static_cast<double>(v.as<std::int64_t>());
        }
        return v.is<double>() ? std::optional<double>(v.as<double>()) : std::nullopt;
    };
    if (number(value) && number(json)) {
        return *number(value) == *number(json);
    }
    if (json.is<Sequence>() && value.is<Sequence>()) {
        const Sequence& a = value.as<Sequence>();
        const Sequence& b = json.as<Sequence>();
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameAsJson);
    }
    if (json.is<Mapping>() && value.is<Mapping>()) {
        const Mapping& a = value.as<Mapping>();
        const auto& entries = json.as<Mapping>().entries();
        return a.size() == entries.size() &&
               std::all_of(entries.begin(), entries.end(), [&a](const MappingEntry& entry) {
                   const YamlValue* found = a.find(entry.key);
                   return found != nullptr && sameAsJson(*found, entry.value);
               });
    }
    return value == json;
}

struct Case {
    std::string id;
    fs::path folder;
};

std::vector<Case> suiteCases(const fs::path& root) {
    std::vector<Case> cases;
    for (const auto& entry : fs::directory_iterator(root)) {
        if (!entry.is_directory()) {
            continue;
        }
        if (fs::exists(entry.path() / "in.yaml")) {
            cases.push_back({entry.path().filename().string(), entry.path()});
        }
        for (const auto& sub : fs::directory_iterator(entry.path())) {
            if (sub.is_directory() && fs::exists(sub.path() / "in.yaml")) {
                cases.push_back(
                    {entry.path().filename().string() + "/" + sub.path().filename().string(),
                     sub.path()});
            }
        }
    }
    std::sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) { return a.id < b.id; });
    return cases;
}

std::map<std::string, std::string> knownDifferences() {
    std::map<std::string, std::string> known;
    std::istringstream lines(readFile(sourceDir() / "tests/yaml/data/known-differences.tsv"));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto tab = line.find('\t');
        known[line.substr(0, tab)] = tab == std::string::npos ? "" : line.substr(tab + 1);
    }
    return known;
}

// What went wrong with a case, or "" when it behaves as the suite expects.
std::string verdict(const Case& suiteCase) {
    const std::string text = readFile(suiteCase.folder / "in.yaml");
    std::optional<YamlValue> value;
    try {
        value = load(text);
    } catch (const YamlError& error) {
        if (error.description().empty()) {
            return "an error without a description";
        }
        if (fs::exists(suiteCase.folder / "error")) {
            return "";
        }
        if (!fs::exists(suiteCase.folder / "in.json")) {
            return "";
        }
        const auto json = testing::readJsonValues(readFile(suiteCase.folder / "in.json"));
        // The loader accepts exactly one document: a stream of several must fail.
        return json && json->size() > 1 ? "" : "failed: " + error.description();
    }
    if (fs::exists(suiteCase.folder / "error")) {
        return "loaded although the suite expects an error";
    }
    if (!fs::exists(suiteCase.folder / "in.json")) {
        return "";
    }
    const auto json = testing::readJsonValues(readFile(suiteCase.folder / "in.json"));
    if (!json) {
        return "unreadable in.json";
    }
    if (json->size() > 1) {
        return "loaded a stream of several documents";
    }
    if (json->empty()) {
        return value ? "a value for an empty stream" : "";
    }
    if (!value) {
        return "no value";
    }
    return sameAsJson(*value, json->front()) ? "" : "a different value";
}

TEST(TestSuite, EveryCaseLoadsOrFailsAsExpected) {
    const char* dir = std::getenv("QUESSEL_TEST_SUITE_DIR");
    const fs::path root =
        dir != nullptr ? fs::path(dir) : sourceDir() / "tests/data/yaml-test-suite";
    const std::vector<Case> cases = suiteCases(root);
    ASSERT_GT(cases.size(), 300U) << "the suite is missing at " << root;
    std::map<std::string, std::string> known = knownDifferences();
    std::size_t passed = 0;
    std::size_t differences = 0;
    std::size_t failures = 0;
    for (const Case& suiteCase : cases) {
        const std::string problem = verdict(suiteCase);
        const auto listed = known.find(suiteCase.id);
        if (problem.empty()) {
            ++passed;
            EXPECT_EQ(listed, known.end())
                << suiteCase.id << " is listed as a known difference but behaves as expected";
        } else if (listed != known.end()) {
            ++differences;
        } else {
            ++failures;
            ADD_FAILURE() << suiteCase.id << ": " << problem;
        }
        if (listed != known.end()) {
            known.erase(listed);
        }
    }
    for (const auto& [id, reason] : known) {
        ADD_FAILURE() << "known difference " << id << " names no case";
    }
    std::cout << "YAML test suite: " << cases.size() << " cases, " << passed << " passed, "
              << differences << " known differences, " << failures << " failures\n";
}

} // namespace
} // namespace quessel::yaml

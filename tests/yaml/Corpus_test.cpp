// The real-world corpus: every file loads, or fails with a YamlError that describes itself.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/Load.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quessel::yaml {
namespace {

namespace fs = std::filesystem;
using testing::readFile;

std::vector<std::string> manifest(const fs::path& root) {
    std::vector<std::string> entries;
    std::istringstream lines(readFile(root / "MANIFEST.tsv"));
    std::string line;
    std::getline(lines, line); // the header
    while (std::getline(lines, line)) {
        entries.push_back(line.substr(0, line.find('\t')));
    }
    return entries;
}

TEST(Corpus, EveryFileLoadsOrDescribesItsError) {
    const char* dir = std::getenv("QUESSEL_CORPUS_DIR");
    ASSERT_NE(dir, nullptr) << "QUESSEL_CORPUS_DIR is not set";
    const std::vector<std::string> entries = manifest(dir);
    ASSERT_GT(entries.size(), 700U);
    std::size_t loaded = 0;
    std::size_t severalDocuments = 0;
    std::size_t duplicateKeys = 0;
    std::size_t otherErrors = 0;
    for (const std::string& path : entries) {
        const std::string text = readFile(fs::path(dir) / path);
        ASSERT_FALSE(text.empty()) << path << " is missing";
        try {
            load(text);
            ++loaded;
        } catch (const YamlError& error) {
            EXPECT_FALSE(error.description().empty()) << path;
            if (error.problem() == "but found another document") {
                ++severalDocuments;
            } else if (error.kind() == YamlError::Kind::duplicatedKeysInMapping) {
                ++duplicateKeys;
            } else {
                ++otherErrors;
                std::cout << path << ":\n" << error.description() << "\n";
            }
        }
    }
    std::cout << "Corpus: " << entries.size() << " files, " << loaded << " loaded, "
              << severalDocuments << " refused as streams of several documents, " << duplicateKeys
              << " refused for duplicate keys, " << otherErrors << " other errors\n";
}

} // namespace
} // namespace quessel::yaml

// The real-world documents the test registration points at: the corpus and the YAML test suite.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quessel::testing {

// A folder the test registration names in the environment; empty when it names none, so that
// callers asking for a least number of documents fail rather than pass on nothing.
inline std::filesystem::path directoryFromEnvironment(const char* variable) {
    const char* directory = std::getenv(variable);
    return directory != nullptr ? std::filesystem::path(directory) : std::filesystem::path();
}

// Every corpus file, in the manifest's order.
inline std::vector<std::filesystem::path> corpusDocuments() {
    const std::filesystem::path root = directoryFromEnvironment("QUESSEL_CORPUS_DIR");
    std::ifstream manifest(root / "MANIFEST.tsv");
    std::vector<std::filesystem::path> documents;
    std::string line;
    std::getline(manifest, line); // the header
    while (std::getline(manifest, line)) {
        documents.push_back(root / line.substr(0, line.find('\t')));
    }
    return documents;
}

// Every test suite case's input, sorted.
inline std::vector<std::filesystem::path> suiteDocuments() {
    std::vector<std::filesystem::path> documents;
    const std::filesystem::path root = directoryFromEnvironment("QUESSEL_TEST_SUITE_DIR");
    if (root.empty() || !std::filesystem::is_directory(root)) {
        return documents;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.path().filename() == "in.yaml") {
            documents.push_back(entry.path());
        }
    }
    std::sort(documents.begin(), documents.end());
    return documents;
}

} // namespace quessel::testing

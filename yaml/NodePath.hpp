// Where a node stands in the value tree: the document of a stream, then one mapping key or
// sequence index per level; written out as the path that yq and jq read.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quessel::yaml {

struct PathStep {
    // A mapping entry's key text (MappingEntry::key), or a sequence element's 0-based index.
    std::variant<std::string, std::size_t> step;

    static PathStep key(std::string text) { return PathStep{std::move(text)}; }
    static PathStep index(std::size_t position) { return PathStep{position}; }

    const std::string* keyText() const { return std::get_if<std::string>(&step); }
    const std::size_t* position() const { return std::get_if<std::size_t>(&step); }

    friend bool operator==(const PathStep&, const PathStep&) = default;
};

struct NodePath {
    // 0-based; set only for streams of two or more documents, which the tree shows as rows.
    std::optional<std::size_t> document;
    std::vector<PathStep> steps;

    // The steps as yq and jq read them: "." for the root, ".name" for a key that is an
    // identifier, `["text"]` (a JSON string) for any other key, "[N]" for an index, with a
    // leading "." before a first bracket (".[0]", `.["a b"]`). The document is not part of it.
    std::string text() const;

    friend bool operator==(const NodePath&, const NodePath&) = default;
};

} // namespace quessel::yaml

// What the large-document benchmark needs to know about a loaded document: how many lines its
// page has, and which big subtree to collapse and search into.
#pragma once

#include "yaml/YamlValue.hpp"

#include <cstddef>
#include <optional>
#include <string>

namespace quessel::bench {

// The page's lines below a value: one per mapping entry or sequence element, nested ones
// included (the rows of the virtualised page, the line elements of the all-markup page).
std::size_t pageLines(const yaml::YamlValue& value);

// The biggest entry of a top-level mapping, found on the page by searching its key, and a text
// that occurs at least twice inside it and nowhere before or around it, so that the first and
// the next match of a search for it lie inside the subtree.
struct SubtreeTarget {
    std::string key;
    std::size_t lines = 0;  // the entry's line and those below it
    std::string insideText; // lower-case ASCII
};

// Nothing when the root is not a mapping, or no such text exists.
std::optional<SubtreeTarget> biggestTopLevelSubtree(const yaml::YamlValue& root);

// A generated benchmark document whose page has about `lines` lines (whole records: a little
// more), for the all-markup page's cost curve.
std::string documentOfLines(std::size_t lines);

} // namespace quessel::bench

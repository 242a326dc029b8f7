// Finds a mapping's entry by its key text, as building the mapping makes its entries.
#pragma once

#include "yaml/Construction.hpp"
#include "yaml/MergeFlattening.hpp"
#include "yaml/Node.hpp"

#include <optional>
#include <string_view>

namespace quessel::yaml {

class EntryLookup {
public:
    // Key texts of collection keys are built by `construction`; merges are flattened by
    // `merges`. Both charge their budgets, and throw YamlError past them.
    EntryLookup(Construction& construction, MergeFlattening& merges)
        : construction_(construction), merges_(merges) {}

    struct Found {
        Node key;   // where the entry's value is given: a merged key in the mapping it merges
        Node value; // the value the entry takes: the last one given for its key
    };

    // The entry whose text (MappingEntry::key) is exactly `key`; none when no entry has it.
    std::optional<Found> find(const Node& mapping, std::string_view key);

private:
    std::string keyText(const Node& key);
    static Node keyGiving(const FlatPair& pair);

    Construction& construction_;
    MergeFlattening& merges_;
};

} // namespace quessel::yaml

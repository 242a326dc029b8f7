// The order and the counts both pages show a value's tree in.
#include "page/TreeOrder.hpp"

#include "yaml/CanonicalText.hpp"

#include <algorithm>
#include <string>
#include <string_view>

namespace quessel::page {

using yaml::Mapping;
using yaml::MappingEntry;
using yaml::Sequence;
using yaml::YamlValue;

std::size_t collapsibleCount(const YamlValue& value) {
    if (const auto* mapping = std::get_if<Mapping>(&value.storage)) {
        return mapping->size();
    }
    if (const auto* sequence = std::get_if<Sequence>(&value.storage)) {
        return sequence->size();
    }
    return 0;
}

// Non-ASCII keys are normalised once here rather than on every comparison of the sort.
std::vector<const MappingEntry*> sortedEntries(const Mapping& mapping) {
    struct Keyed {
        std::string_view key;
        const MappingEntry* entry;
    };
    std::vector<std::string> canonicalKeys;
    std::vector<Keyed> keyed;
    keyed.reserve(mapping.size());
    canonicalKeys.reserve(mapping.size()); // no reallocation: the views below stay valid
    for (const MappingEntry& entry : mapping.entries()) {
        if (yaml::isAscii(entry.key)) {
            keyed.push_back({entry.key, &entry});
        } else {
            keyed.push_back({canonicalKeys.emplace_back(yaml::canonicalForm(entry.key)), &entry});
        }
    }
    // UTF-8 byte order is scalar order, so NFC texts compare as plain bytes.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    std::vector<const MappingEntry*> sorted;
    sorted.reserve(keyed.size());
    for (const Keyed& item : keyed) {
        sorted.push_back(item.entry);
    }
    return sorted;
}

} // namespace quessel::page

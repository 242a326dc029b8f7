// The order and the counts both pages show a value's tree in.
#pragma once

#include "yaml/YamlValue.hpp"

#include <cstddef>
#include <vector>

namespace quessel::page {

// The item count shown in a collapsed entry's preview; 0 for entries that cannot collapse
// (scalars and empty collections).
std::size_t collapsibleCount(const yaml::YamlValue& value);

// The entries of a mapping in the order of their keys' Unicode scalars after NFC.
std::vector<const yaml::MappingEntry*> sortedEntries(const yaml::Mapping& mapping);

} // namespace quessel::page

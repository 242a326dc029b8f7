// Short ways to write value trees in tests.
#pragma once

#include "yaml/YamlValue.hpp"

#include <vector>

namespace quessel::page::test {

// A mapping with these entries, in this (meaningless) order.
inline yaml::YamlValue mappingOf(std::vector<yaml::MappingEntry> entries) {
    yaml::Mapping mapping;
    mapping.entries() = std::move(entries);
    return mapping;
}

} // namespace quessel::page::test

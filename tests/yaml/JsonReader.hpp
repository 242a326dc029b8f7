// A small JSON reader for the tests: the YAML test suite states expected values as JSON.
#pragma once

#include "yaml/YamlValue.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace quessel::yaml::testing {

// Every JSON value of the text, in order (the suite writes one per document of the stream).
// Objects become mappings, arrays sequences, numbers integers when they have no fraction or
// exponent and fit, floats otherwise. None when the text is not JSON.
std::optional<std::vector<YamlValue>> readJsonValues(std::string_view text);

} // namespace quessel::yaml::testing

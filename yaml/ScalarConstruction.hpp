// Turning a scalar's text into a typed value, one function per YAML 1.1 scalar type. Each gives
// nothing when the text does not fit its type; the scalar then loads as text.
#pragma once

#include "yaml/NodeStyle.hpp"
#include "yaml/YamlValue.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace quessel::yaml {

std::optional<bool> constructBool(std::string_view text);
std::optional<Null> constructNull(std::string_view text, ScalarStyle style);
std::optional<std::int64_t> constructInt(std::string_view text, ScalarStyle style);
std::optional<double> constructFloat(std::string_view text, ScalarStyle style);
std::optional<Data> constructBinary(std::string_view text);
std::optional<Timestamp> constructTimestamp(std::string_view text);

} // namespace quessel::yaml

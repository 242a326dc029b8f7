// The coloured span of a value that is not a mapping or a sequence.
#pragma once

#include "yaml/YamlValue.hpp"

#include <string>

namespace quessel::page {

// Strings, timestamps, data, sets and pairs take the string colour with their escaped text;
// booleans and numbers are written unescaped; null is the italic "null".
void appendScalarMarkup(std::string& out, const yaml::YamlValue& value);

} // namespace quessel::page

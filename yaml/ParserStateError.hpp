// The YamlError that libyaml's parser state describes after a failed parse call.
#pragma once

#include "yaml/YamlError.hpp"

#include <yaml.h>

#include <string_view>

namespace quessel::yaml {

// Reader errors: libyaml's offset counts input bytes; with UTF-16 input (`utf16Input`) it is
// halved into code units. Either way it becomes a character count into `yaml` when it falls on
// a character boundary within the text. Throws std::logic_error for an error kind libyaml's
// parser never reports.
YamlError errorFromParserState(const yaml_parser_t& parser, std::string_view yaml, bool utf16Input);

} // namespace quessel::yaml

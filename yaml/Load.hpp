// Loading: YAML text in, the value of its one document out.
#pragma once

#include "yaml/Constructor.hpp"
#include "yaml/Parser.hpp"
#include "yaml/Resolver.hpp"
#include "yaml/YamlError.hpp"
#include "yaml/YamlValue.hpp"

#include <optional>
#include <string_view>

namespace quessel::yaml {

// The value of the text's one document, or none when the text holds no document (empty, or
// only comments and white space). Throws YamlError on any failure; no partial value is ever
// returned. Everything but the value is released before returning.
std::optional<YamlValue> load(std::string_view yaml,
                              const Resolver& resolver = Resolver::standard(),
                              const Constructor& constructor = Constructor::standard(),
                              Parser::Encoding encoding = Parser::defaultEncoding());

} // namespace quessel::yaml

// Loading: YAML text in, the value of its one document (or of each document of a stream) out.
#pragma once

#include "yaml/Constructor.hpp"
#include "yaml/Parser.hpp"
#include "yaml/Resolver.hpp"
#include "yaml/YamlError.hpp"
#include "yaml/YamlValue.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace quessel::yaml {

// The value of the text's one document, or none when the text holds no document (empty, or
// only comments and white space). Throws YamlError on any failure; no partial value is ever
// returned. Everything but the value is released before returning.
std::optional<YamlValue> load(std::string_view yaml,
                              const Resolver& resolver = Resolver::standard(),
                              const Constructor& constructor = Constructor::standard(),
                              Parser::Encoding encoding = Parser::defaultEncoding());

// The values of every document of the stream, in order; empty when the text holds none. Each
// document is loaded under the rules of load(), with a budget of its own for its aliases; any
// failure throws, and no partial result is returned. Documents with no content are null.
std::vector<YamlValue> loadAll(std::string_view yaml,
                               const Resolver& resolver = Resolver::standard(),
                               const Constructor& constructor = Constructor::standard(),
                               Parser::Encoding encoding = Parser::defaultEncoding());

} // namespace quessel::yaml

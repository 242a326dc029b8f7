// Owns one libyaml parser state: initialised on construction, deleted on destruction.
#include "yaml/LibyamlParser.hpp"

#include "yaml/YamlError.hpp"

namespace quessel::yaml {

void LibyamlParser::Delete::operator()(yaml_parser_t* state) const noexcept {
    yaml_parser_delete(state);
    delete state;
}

LibyamlParser::LibyamlParser() {
    auto* state = new yaml_parser_t{};
    if (yaml_parser_initialize(state) == 0) {
        delete state;
        throw YamlError::memory();
    }
    state_.reset(state);
}

LibyamlParser::~LibyamlParser() = default;

} // namespace quessel::yaml

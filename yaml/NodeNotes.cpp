// What the source says about a node besides its value.
#include "yaml/NodeNotes.hpp"

namespace quessel::yaml {

std::string writtenTag(std::string_view name) {
    constexpr std::string_view yamlPrefix = "tag:yaml.org,2002:";
    if (name.starts_with(yamlPrefix)) {
        return "!!" + std::string(name.substr(yamlPrefix.size()));
    }
    if (name.starts_with('!')) {
        return std::string(name);
    }
    return "!<" + std::string(name) + ">";
}

} // namespace quessel::yaml

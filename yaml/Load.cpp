// Loading: YAML text in, the value of its one document (or of each document of a stream) out.
#include "yaml/Load.hpp"

namespace quessel::yaml {

std::optional<YamlValue> load(std::string_view yaml, const Resolver& resolver,
                              const Constructor& constructor, Parser::Encoding encoding) {
    Parser parser(yaml, resolver, constructor, encoding);
    const std::optional<Node> root = parser.singleRoot();
    if (!root) {
        return std::nullopt;
    }
    return root->tag().constructor().any(*root);
}

std::vector<YamlValue> loadAll(std::string_view yaml, const Resolver& resolver,
                               const Constructor& constructor, Parser::Encoding encoding) {
    Parser parser(yaml, resolver, constructor, encoding);
    std::vector<YamlValue> documents;
    while (const std::optional<Node> root = parser.nextRoot()) {
        documents.push_back(root->tag().constructor().any(*root));
    }
    return documents;
}

} // namespace quessel::yaml

// Value construction: which function or construction turns a node of each tag into a value.
#include "yaml/Constructor.hpp"

#include "yaml/Construction.hpp"
#include "yaml/ExpansionBudget.hpp"
#include "yaml/NodeArena.hpp"
#include "yaml/ScalarConstruction.hpp"
#include "yaml/TagName.hpp"

namespace quessel::yaml {
namespace {

template <typename T>
std::optional<YamlValue> lift(std::optional<T> value) {
    if (!value) {
        return std::nullopt;
    }
    return YamlValue(std::move(*value));
}

Constructor::ScalarMap standardScalarMap() {
    Constructor::ScalarMap map;
    const auto add = [&map](std::string_view tag, Constructor::ScalarFunctionPointer function) {
        map.emplace(tag, function);
    };
    add(TagName::str, &Constructor::text);
    add(TagName::boolean, &Constructor::boolean);
    add(TagName::floating, &Constructor::floating);
    add(TagName::null, &Constructor::null);
    add(TagName::integer, &Constructor::integer);
    add(TagName::binary, &Constructor::binary);
    add(TagName::timestamp, &Constructor::timestamp);
    return map;
}

template <typename Build>
YamlValue construct(const Constructor& constructor, const Node& node, Build build) {
    ExpansionBudget budget = ExpansionBudget::of(*node.data()->arena);
    Construction construction(constructor, budget);
    return build(construction);
}

YamlValue buildAs(const Constructor& constructor, const Node& node, Construction::Shape shape) {
    return construct(constructor, node, [&node, shape](Construction& construction) {
        return construction.build(node, shape);
    });
}

} // namespace

Constructor::Constructor(ScalarMap scalarMap, MappingMap mappingMap, SequenceMap sequenceMap)
    : scalarMap_(std::move(scalarMap)), mappingMap_(std::move(mappingMap)),
      sequenceMap_(std::move(sequenceMap)) {}

const Constructor& Constructor::standard() {
    static const Constructor instance(
        standardScalarMap(),
        MappingMap{{std::string(TagName::map), MappingConstruction::mapping},
                   {std::string(TagName::set), MappingConstruction::set}},
        SequenceMap{{std::string(TagName::seq), SequenceConstruction::sequence},
                    {std::string(TagName::omap), SequenceConstruction::omap},
                    {std::string(TagName::pairs), SequenceConstruction::pairs}});
    return instance;
}

std::optional<YamlValue> Constructor::text(const Node& scalar) {
    return YamlValue(std::string(scalar.string()));
}

std::optional<YamlValue> Constructor::boolean(const Node& scalar) {
    return lift(constructBool(scalar.string()));
}

std::optional<YamlValue> Constructor::integer(const Node& scalar) {
    return lift(constructInt(scalar.string(), scalar.scalarStyle()));
}

std::optional<YamlValue> Constructor::floating(const Node& scalar) {
    return lift(constructFloat(scalar.string(), scalar.scalarStyle()));
}

std::optional<YamlValue> Constructor::null(const Node& scalar) {
    return lift(constructNull(scalar.string(), scalar.scalarStyle()));
}

std::optional<YamlValue> Constructor::binary(const Node& scalar) {
    return lift(constructBinary(scalar.string()));
}

std::optional<YamlValue> Constructor::timestamp(const Node& scalar) {
    return lift(constructTimestamp(scalar.string()));
}

YamlValue Constructor::any(const Node& node) const {
    return construct(*this, node,
                     [&node](Construction& construction) { return construction.any(node); });
}

YamlValue Constructor::private_construct_mapping(const Node& mapping) const {
    return buildAs(*this, mapping, Construction::Shape::mapping);
}

YamlValue Constructor::construct_set(const Node& mapping) const {
    return buildAs(*this, mapping, Construction::Shape::set);
}

YamlValue Constructor::construct_seq(const Node& sequence) const {
    return buildAs(*this, sequence, Construction::Shape::sequence);
}

YamlValue Constructor::construct_omap(const Node& sequence) const {
    return buildAs(*this, sequence, Construction::Shape::pairs);
}

YamlValue Constructor::construct_pairs(const Node& sequence) const {
    return buildAs(*this, sequence, Construction::Shape::pairs);
}

} // namespace quessel::yaml

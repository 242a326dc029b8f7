// What a constructor has for each tag name of one load, and the values of scalars by it.
#include "yaml/TagDispatch.hpp"

#include "yaml/NodeArena.hpp"
#include "yaml/ScalarConstruction.hpp"

#include <utility>

namespace quessel::yaml {
namespace {

using Standard = TagDispatch::Entry::Standard;

Standard standardOf(const Constructor::ScalarFunction& function) {
    const auto* pointer = function.target<Constructor::ScalarFunctionPointer>();
    if (pointer == nullptr) {
        return Standard::none;
    }
    static constexpr std::pair<Constructor::ScalarFunctionPointer, Standard> known[] = {
        {&Constructor::text, Standard::text},
        {&Constructor::boolean, Standard::boolean},
        {&Constructor::integer, Standard::integer},
        {&Constructor::floating, Standard::floating},
        {&Constructor::null, Standard::null},
        {&Constructor::binary, Standard::binary},
        {&Constructor::timestamp, Standard::timestamp},
    };
    for (const auto& [candidate, standard] : known) {
        if (*pointer == candidate) {
            return standard;
        }
    }
    return Standard::none;
}

// The value a standard function gives, made in place: the same as calling the function, which
// gives its value as an optional to be moved out again.
template <typename T>
YamlValue valueOr(std::optional<T>&& value, const Node& scalar) {
    if (value) {
        return YamlValue(std::move(*value));
    }
    return YamlValue(std::string(scalar.string()));
}

} // namespace

const TagDispatch::Entry& TagDispatch::of(detail::NodeData& node) {
    const std::uint32_t tag = detail::resolveTag(node);
    if (node.arena != arena_) {
        entries_.clear();
        arena_ = node.arena;
    }
    if (tag >= entries_.size()) {
        entries_.resize(tag + 1);
    }
    Entry& entry = entries_[tag];
    if (!entry.known) {
        entry = lookUp(node.arena->tagName(tag));
    }
    return entry;
}

TagDispatch::Entry TagDispatch::lookUp(std::string_view name) const {
    Entry entry;
    if (const auto found = constructor_.scalarMap().find(name);
        found != constructor_.scalarMap().end()) {
        entry.scalar = &found->second;
        entry.standard = standardOf(found->second);
    }
    if (const auto found = constructor_.mappingMap().find(name);
        found != constructor_.mappingMap().end() &&
        found->second == Constructor::MappingConstruction::set) {
        entry.mappingAsSet = true;
    }
    if (const auto found = constructor_.sequenceMap().find(name);
        found != constructor_.sequenceMap().end() &&
        found->second != Constructor::SequenceConstruction::sequence) {
        entry.sequenceAsPairs = true;
    }
    entry.custom = entry.scalar == nullptr && !constructor_.mappingMap().contains(name) &&
                   !constructor_.sequenceMap().contains(name);
    entry.known = true;
    return entry;
}

YamlValue TagDispatch::scalarValue(const Node& scalar) {
    const Entry& entry = of(*scalar.data());
    const std::string_view text = scalar.string();
    const ScalarStyle style = scalar.scalarStyle();
    switch (entry.standard) {
    case Standard::text:
        return YamlValue(std::string(text));
    case Standard::boolean:
        return valueOr(constructBool(text), scalar);
    case Standard::integer:
        return valueOr(constructInt(text, style), scalar);
    case Standard::floating:
        return valueOr(constructFloat(text, style), scalar);
    case Standard::null:
        return valueOr(constructNull(text, style), scalar);
    case Standard::binary:
        return valueOr(constructBinary(text), scalar);
    case Standard::timestamp:
        return valueOr(constructTimestamp(text), scalar);
    case Standard::none:
        break;
    }
    if (entry.scalar != nullptr) {
        if (std::optional<YamlValue> value = (*entry.scalar)(scalar)) {
            return std::move(*value);
        }
    }
    return YamlValue(std::string(text));
}

} // namespace quessel::yaml

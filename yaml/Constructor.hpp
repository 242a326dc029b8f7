// Value construction: which function or construction turns a node of each tag into a value.
#pragma once

#include "yaml/Node.hpp"
#include "yaml/YamlValue.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quessel::yaml {

// Hashes std::string keys and string_view probes alike, so lookups by tag name never copy.
struct TagNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept {
        return std::hash<std::string_view>{}(name);
    }
};

class Constructor {
public:
    // Gives the value of a scalar node, or nothing when its text does not fit the tag (the
    // scalar then loads as its text).
    using ScalarFunction = std::function<std::optional<YamlValue>(const Node& scalar)>;
    // Plain functions stored in a ScalarFunction are called directly, without the wrapper.
    using ScalarFunctionPointer = std::optional<YamlValue> (*)(const Node& scalar);

    // Collections are built by one iterative construction that shares a single alias budget and
    // depth limit, so their maps name which construction applies rather than holding callbacks.
    enum class MappingConstruction : std::uint8_t {
        mapping, // private_construct_mapping: merge keys flattened, text keys, later keys win
        set,     // construct_set: the key texts
    };
    enum class SequenceConstruction : std::uint8_t {
        sequence, // construct_seq
        omap,     // construct_omap: the first pair of every non-empty mapping element
        pairs,    // construct_pairs: the same as omap
    };

    template <typename T>
    using TagMap = std::unordered_map<std::string, T, TagNameHash, std::equal_to<>>;
    using ScalarMap = TagMap<ScalarFunction>;
    using MappingMap = TagMap<MappingConstruction>;
    using SequenceMap = TagMap<SequenceConstruction>;

    Constructor(ScalarMap scalarMap, MappingMap mappingMap, SequenceMap sequenceMap);

    // The YAML 1.1 types: str, bool, int, float, null, binary, timestamp; map and set; seq,
    // omap and pairs. Made once per process.
    static const Constructor& standard();

    // The standard scalar functions: str gives the text; the others give nothing when the
    // text does not fit (see ScalarConstruction.hpp).
    static std::optional<YamlValue> text(const Node& scalar);
    static std::optional<YamlValue> boolean(const Node& scalar);
    static std::optional<YamlValue> integer(const Node& scalar);
    static std::optional<YamlValue> floating(const Node& scalar);
    static std::optional<YamlValue> null(const Node& scalar);
    static std::optional<YamlValue> binary(const Node& scalar);
    static std::optional<YamlValue> timestamp(const Node& scalar);

    const ScalarMap& scalarMap() const { return scalarMap_; }
    const MappingMap& mappingMap() const { return mappingMap_; }
    const SequenceMap& sequenceMap() const { return sequenceMap_; }

    // The value of a node and everything below it. Mapping keys become texts (a scalar's text; a
    // mapping's `=` value's key text; otherwise the key's one-line flow form). Throws a
    // YamlError when aliases expand past limits::aliasExpansionLimit or nest values deeper than
    // limits::maximumDepth.
    YamlValue any(const Node& node) const;

    YamlValue private_construct_mapping(const Node& mapping) const;
    YamlValue construct_set(const Node& mapping) const;
    YamlValue construct_seq(const Node& sequence) const;
    YamlValue construct_omap(const Node& sequence) const;
    YamlValue construct_pairs(const Node& sequence) const;

private:
    ScalarMap scalarMap_;
    MappingMap mappingMap_;
    SequenceMap sequenceMap_;
};

} // namespace quessel::yaml

// What a constructor has for each tag name of one load, and the values of scalars by it.
#pragma once

#include "yaml/Constructor.hpp"
#include "yaml/Node.hpp"
#include "yaml/YamlValue.hpp"

#include <cstdint>
#include <vector>

namespace quessel::yaml {

class NodeArena;

// Nodes carry their tag names as indices of their load, so the constructor's maps are searched
// once per tag name and run, and every later node of the tag costs an array access.
class TagDispatch {
public:
    struct Entry {
        bool known = false;
        bool custom = false;          // a name the constructor has nothing for: the page shows it
        bool mappingAsSet = false;    // the mapping construction is set
        bool sequenceAsPairs = false; // the sequence construction is omap or pairs
        // One of the standard scalar functions, recognised so that its value is made directly,
        // without the optional the function returns.
        enum class Standard : std::uint8_t {
            none,
            text,
            boolean,
            integer,
            floating,
            null,
            binary,
            timestamp,
        } standard = Standard::none;
        const Constructor::ScalarFunction* scalar = nullptr;
    };

    explicit TagDispatch(const Constructor& constructor) : constructor_(constructor) {}

    // Resolves the node's tag (in place) and gives what the constructor has for it.
    const Entry& of(detail::NodeData& node);

    // The value of a scalar node by its tag's function, or its text when the tag has none or the
    // text does not fit.
    YamlValue scalarValue(const Node& scalar);

private:
    Entry lookUp(std::string_view name) const;

    const Constructor& constructor_;
    std::vector<Entry> entries_; // by tag index of the arena below
    const NodeArena* arena_ = nullptr;
};

} // namespace quessel::yaml

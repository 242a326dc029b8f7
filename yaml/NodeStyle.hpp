// How a node was written, numbered as libyaml numbers its styles.
#pragma once

#include <cstdint>

namespace quessel::yaml {

enum class ScalarStyle : std::uint8_t {
    any = 0,
    plain = 1,
    singleQuoted = 2,
    doubleQuoted = 3,
    literal = 4,
    folded = 5,
};

enum class CollectionStyle : std::uint8_t {
    any = 0,
    block = 1,
    flow = 2,
};

} // namespace quessel::yaml

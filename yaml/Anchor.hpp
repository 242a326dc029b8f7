// A named anchor (`&name`) as composition recorded it.
#pragma once

#include <string>

namespace quessel::yaml {

struct Anchor {
    std::string rawValue;
    friend bool operator==(const Anchor&, const Anchor&) = default;
};

} // namespace quessel::yaml

// Integers written into markup in decimal, without temporary strings.
#pragma once

#include <charconv>
#include <string>

namespace quessel::page {

template <typename Integer>
void appendDecimal(std::string& out, Integer value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

} // namespace quessel::page

// The text and the colour a value that is not a mapping or a sequence shows as.
#pragma once

#include "yaml/YamlValue.hpp"

#include <string>
#include <string_view>

namespace quessel::page {

// Strings, timestamps, data, sets and pairs take the string colour; null is the italic "null".
enum class ScalarClass { string, number, boolean, null };

// A text refers into the value; the other kinds' texts are made here and live as long as this.
class ScalarText {
public:
    explicit ScalarText(const yaml::YamlValue& value);
    ScalarText(const ScalarText&) = delete;
    ScalarText& operator=(const ScalarText&) = delete;

    ScalarClass kind() const { return kind_; }
    std::string_view text() const { return text_; }

private:
    ScalarClass kind_ = ScalarClass::string;
    std::string made_;
    std::string_view text_;
};

} // namespace quessel::page

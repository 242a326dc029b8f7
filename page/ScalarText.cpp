// The text and the colour a value that is not a mapping or a sequence shows as.
#include "page/ScalarText.hpp"

#include "page/Decimal.hpp"
#include "yaml/ValueText.hpp"

namespace quessel::page {
namespace {

using yaml::YamlValue;

// A pair shows as "(key, value)", each in its one-line flow form.
// (Appended piece by piece: GCC 12 at -O3 misreads "(" + text as an overlapping copy.)
std::string pairText(const yaml::Pair& pair) {
    std::string text = "(";
    text.append(yaml::flowText(*pair.key));
    text.append(", ");
    text.append(yaml::flowText(*pair.value));
    text.push_back(')');
    return text;
}

} // namespace

ScalarText::ScalarText(const YamlValue& value) {
    if (const auto* text = std::get_if<std::string>(&value.storage)) {
        text_ = *text;
        return;
    }
    if (const auto* boolean = std::get_if<bool>(&value.storage)) {
        kind_ = ScalarClass::boolean;
        text_ = *boolean ? "true" : "false";
        return;
    }
    if (value.is<yaml::Null>()) {
        kind_ = ScalarClass::null;
        text_ = "null";
        return;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value.storage)) {
        kind_ = ScalarClass::number;
        appendDecimal(made_, *integer);
    } else if (const auto* real = std::get_if<double>(&value.storage)) {
        kind_ = ScalarClass::number;
        made_ = yaml::floatText(*real);
    } else if (const auto* pair = std::get_if<yaml::Pair>(&value.storage)) {
        made_ = pairText(*pair);
    } else {
        made_ = yaml::displayText(value); // timestamps, data and sets
    }
    text_ = made_;
}

} // namespace quessel::page

// The text a value shows as: for the duplicate-key report, derived mapping keys, and the page.
#pragma once

#include "yaml/YamlValue.hpp"

#include <string>
#include <string_view>

namespace quessel::yaml {

// A scalar as the tree shows it: a text unchanged, integers in decimal, floats as "%.16g" (inf,
// -inf, nan), true/false, null, timestamps "YYYY-MM-DD HH:MM:SS +0000", data "N bytes";
// collections and pairs in their one-line flow form.
std::string displayText(const YamlValue& value);

// The one-line flow form: [a, b], {x: 1}, a set {a, b}, a pair a: 1. Texts that would not read
// back as themselves (empty, flow indicators, line breaks, or words that resolve to another
// type such as "1" or "true") are double-quoted with escapes. Built without recursion.
std::string flowText(const YamlValue& value);

std::string floatText(double value);
std::string timestampText(const Timestamp& timestamp);
std::string dataText(const Data& data);

// A text as it appears inside a flow form: itself, or double-quoted when it needs quotes.
std::string flowString(std::string_view text);

} // namespace quessel::yaml

// Turning a scalar's text into a typed value, one function per YAML 1.1 scalar type.
#include "yaml/ScalarConstruction.hpp"

#include "yaml/Base64.hpp"
#include "yaml/TimestampParser.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <new>
#include <string>
#include <utility>

namespace quessel::yaml {
namespace {

// Numbers are read only from plain text or text whose style is unknown: `"12"` stays a text
// even under an explicit `!!int`.
bool isNumericStyle(ScalarStyle style) {
    return style == ScalarStyle::any || style == ScalarStyle::plain;
}

// The text without its underscores; `storage` holds the copy when one is needed.
std::string_view withoutUnderscores(std::string_view text, std::string& storage) {
    if (text.find('_') == std::string_view::npos) {
        return text;
    }
    storage.reserve(text.size());
    for (const char c : text) {
        if (c != '_') {
            storage.push_back(c);
        }
    }
    return storage;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return std::numeric_limits<int>::max();
}

// The magnitude up to which a signed 64-bit integer can hold a number of the given sign.
std::uint64_t magnitudeLimit(bool negative) {
    return negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
}

// One or more digits of the radix and nothing else (no sign: the caller has taken it), within
// `limit`.
std::optional<std::uint64_t> parseDigits(std::string_view digits, int radix, std::uint64_t limit) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = digitValue(c);
        if (digit >= radix) {
            return std::nullopt;
        }
        if (value >
            (limit - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(radix)) {
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::int64_t applySign(std::uint64_t magnitude, bool negative) {
    if (!negative) {
        return static_cast<std::int64_t>(magnitude);
    }
    return magnitude == std::uint64_t{1} << 63 ? std::numeric_limits<std::int64_t>::min()
                                               : -static_cast<std::int64_t>(magnitude);
}

// Base 60: decimal components separated by colons, the first the most significant. Summed as
// first * 60^(n-1) + ... + last, folded from the left so that an intermediate result never
// exceeds the final one: the value is given exactly when it fits in 64 bits, and nothing
// otherwise (also for an empty component).
std::optional<std::int64_t> sexagesimal(std::string_view unsignedText, bool negative) {
    const std::uint64_t limit = magnitudeLimit(negative);
    std::uint64_t value = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t colon = unsignedText.find(':', start);
        const auto component = parseDigits(unsignedText.substr(start, colon - start), 10, limit);
        if (!component || value > (limit - *component) / 60) {
            return std::nullopt;
        }
        value = value * 60 + *component;
        if (colon == std::string_view::npos) {
            return applySign(value, negative);
        }
        start = colon + 1;
    }
}

// A leading sign taken off the text; true when it was "-".
bool takeSign(std::string_view& text) {
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        const bool negative = text[0] == '-';
        text.remove_prefix(1);
        return negative;
    }
    return false;
}

// The digits after a radix prefix, which may carry a sign of their own: the sign before the
// prefix is written in front of them, so `0x-5` is -5 and `+0x-5` too, while `-0x-5` has two
// signs and is no number.
std::optional<std::int64_t> prefixedDigits(std::string_view digits, int radix,
                                           bool negativeBeforePrefix) {
    const bool ownSign = !digits.empty() && (digits[0] == '-' || digits[0] == '+');
    if (ownSign && negativeBeforePrefix) {
        return std::nullopt;
    }
    const bool negative = ownSign ? takeSign(digits) : negativeBeforePrefix;
    const auto magnitude = parseDigits(digits, radix, magnitudeLimit(negative));
    return magnitude ? std::optional(applySign(*magnitude, negative)) : std::nullopt;
}

locale_t cLocale() {
    static const locale_t locale = [] {
        const locale_t made = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (made == static_cast<locale_t>(nullptr)) {
            throw std::bad_alloc();
        }
        return made;
    }();
    return locale;
}

// A decimal number that from_chars reads whole and in range. Both it and strtod round correctly,
// so they agree on such a number; from_chars needs no terminated copy and no locale, and is
// several times faster. Everything else (a leading plus, hexadecimal, the infinity and NaN
// words, overflow and underflow) is left to strtod.
std::optional<double> parseDecimal(std::string_view text) {
    const std::size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
    if (first >= text.size() ||
        !((text[first] >= '0' && text[first] <= '9') || text[first] == '.')) {
        return std::nullopt;
    }
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// The C library's reading of a floating-point number, whatever the process's locale: the whole
// text must be consumed and must not start with white space. Keeps every form strtod knows
// (hexadecimal floats, "inf", "infinity", "nan"), and its rounding of overflow to infinity.
std::optional<double> parseCDouble(std::string_view text) {
    if (text.empty() || text[0] == ' ' || (text[0] >= '\t' && text[0] <= '\r')) {
        return std::nullopt;
    }
    if (const auto decimal = parseDecimal(text)) {
        return decimal;
    }
    const std::string terminated(text); // a NUL inside the text stops strtod short: no number
    char* end = nullptr;
    const double value = strtod_l(terminated.c_str(), &end, cLocale());
    if (end != terminated.c_str() + terminated.size()) {
        return std::nullopt;
    }
    return value;
}

// The infinity and not-a-number words exactly as the float rule spells them.
std::optional<double> infinityOrNan(std::string_view text) {
    std::string_view rest = text;
    const bool negative = takeSign(rest);
    if (rest == ".inf" || rest == ".Inf" || rest == ".INF") {
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    if (text == ".nan" || text == ".NaN" || text == ".NAN") {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return std::nullopt;
}

// Base 60 in doubles, summed from the last component to the first. The sign belongs to the
// whole text, so a component may not carry one of its own.
std::optional<double> sexagesimalFloat(std::string_view text) {
    std::string_view rest = text;
    const bool negative = takeSign(rest);
    double sum = 0;
    double multiplier = 1;
    std::size_t end = rest.size();
    while (true) {
        const std::size_t colon = end == 0 ? std::string_view::npos : rest.rfind(':', end - 1);
        const std::size_t start = colon == std::string_view::npos ? 0 : colon + 1;
        const std::string_view component = rest.substr(start, end - start);
        const auto value = component.empty() || component[0] == '-' || component[0] == '+'
                               ? std::nullopt
                               : parseCDouble(component);
        if (!value) {
            return std::nullopt;
        }
        sum += *value * multiplier;
        multiplier *= 60;
        if (colon == std::string_view::npos) {
            return negative ? -sum : sum;
        }
        end = colon;
    }
}

} // namespace

std::optional<bool> constructBool(std::string_view text) {
    if (text.size() > 5) {
        return std::nullopt;
    }
    // ASCII lower-casing is exact here: no non-ASCII character lower-cases to a letter of these
    // words.
    std::array<char, 5> buffer{};
    const std::size_t length = std::min(text.size(), buffer.size());
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[i];
        buffer[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const std::string_view lower(buffer.data(), length);
    if (lower == "true" || lower == "yes" || lower == "on") {
        return true;
    }
    if (lower == "false" || lower == "no" || lower == "off") {
        return false;
    }
    return std::nullopt;
}

std::optional<Null> constructNull(std::string_view text, ScalarStyle style) {
    if (style != ScalarStyle::plain) {
        return std::nullopt;
    }
    if (text.empty() || text == "~" || text == "null" || text == "Null" || text == "NULL") {
        return Null{};
    }
    return std::nullopt;
}

std::optional<std::int64_t> constructInt(std::string_view text, ScalarStyle style) {
    if (!isNumericStyle(style)) {
        return std::nullopt;
    }
    std::string storage;
    const std::string_view digits = withoutUnderscores(text, storage);
    if (digits == "0") {
        return 0;
    }
    std::string_view rest = digits;
    const bool negative = takeSign(rest);
    static constexpr std::pair<std::string_view, int> prefixes[] = {
        {"0x", 16}, {"0b", 2}, {"0o", 8}, {"0", 8}};
    for (const auto& [prefix, radix] : prefixes) {
        if (startsWith(rest, prefix)) {
            return prefixedDigits(rest.substr(prefix.size()), radix, negative);
        }
    }
    if (rest.find(':') != std::string_view::npos) {
        return sexagesimal(rest, negative);
    }
    const auto magnitude = parseDigits(rest, 10, magnitudeLimit(negative));
    return magnitude ? std::optional(applySign(*magnitude, negative)) : std::nullopt;
}

std::optional<double> constructFloat(std::string_view text, ScalarStyle style) {
    if (!isNumericStyle(style)) {
        return std::nullopt;
    }
    if (const auto word = infinityOrNan(text)) {
        return word;
    }
    std::string storage;
    const std::string_view number = withoutUnderscores(text, storage);
    if (number.find(':') != std::string_view::npos) {
        return sexagesimalFloat(number);
    }
    return parseCDouble(number);
}

std::optional<Data> constructBinary(std::string_view text) {
    auto bytes = decodeBase64(text);
    if (!bytes) {
        return std::nullopt;
    }
    return Data{std::move(*bytes)};
}

std::optional<Timestamp> constructTimestamp(std::string_view text) {
    return parseTimestamp(text);
}

} // namespace quessel::yaml

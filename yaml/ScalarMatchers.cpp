// Hand-written recognisers for the seven implicit YAML 1.1 scalar types, and their expressions.
#include "yaml/ScalarMatchers.hpp"

#include "yaml/TagName.hpp"
#include "yaml/TimestampParser.hpp"

#include <cstddef>

namespace quessel::yaml {
namespace {

constexpr std::size_t noMatch = std::string_view::npos;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSign(char c) {
    return c == '+' || c == '-';
}
char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// `word`, `Word` or `WORD` for a lower-case word: the three spellings the expressions list.
bool isWordInThreeCases(std::string_view text, std::string_view word) {
    if (text.size() != word.size() || text.empty()) {
        return false;
    }
    if (text == word) {
        return true;
    }
    if (text[0] != upper(word[0])) {
        return false;
    }
    const std::string_view rest = text.substr(1);
    if (rest == word.substr(1)) {
        return true;
    }
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != upper(word[i + 1])) {
            return false;
        }
    }
    return true;
}

template <typename Predicate>
bool allOf(std::string_view text, Predicate predicate) {
    for (const char c : text) {
        if (!predicate(c)) {
            return false;
        }
    }
    return true;
}

// Where a run of characters in the class ends, from `from` on.
template <typename Predicate>
std::size_t skip(std::string_view text, std::size_t from, Predicate predicate) {
    while (from < text.size() && predicate(text[from])) {
        ++from;
    }
    return from;
}

bool isDigitOrUnderscore(char c) {
    return isDigit(c) || c == '_';
}
bool isBinaryOrUnderscore(char c) {
    return c == '0' || c == '1' || c == '_';
}
bool isOctalOrUnderscore(char c) {
    return (c >= '0' && c <= '7') || c == '_';
}
bool isHexOrUnderscore(char c) {
    return isDigitOrUnderscore(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// `(?::[0-5]?[0-9])+` from `from` on: where it ends, or noMatch. A component is followed by a
// colon, a full stop or the end, never by a digit, so a run of digits is a component exactly
// when it is one digit, or two of which the first is 0-5.
std::size_t sexagesimalTailEnd(std::string_view text, std::size_t from) {
    if (from >= text.size() || text[from] != ':') {
        return noMatch;
    }
    while (from < text.size() && text[from] == ':') {
        const std::size_t end = skip(text, from + 1, isDigit);
        const std::size_t length = end - from - 1;
        if (length != 1 && !(length == 2 && text[from + 1] <= '5')) {
            return noMatch;
        }
        from = end;
    }
    return from;
}

// What follows "0" in an integer: a radix letter and its digits, or octal digits.
bool isZeroPrefixedInteger(std::string_view afterZero) {
    if (afterZero.empty()) {
        return true;
    }
    const std::string_view digits = afterZero.substr(1);
    switch (afterZero[0]) {
    case 'b':
        return !digits.empty() && allOf(digits, isBinaryOrUnderscore);
    case 'x':
        return !digits.empty() && allOf(digits, isHexOrUnderscore);
    case 'o':
        return !digits.empty() && allOf(digits, isOctalOrUnderscore);
    default:
        return allOf(afterZero, isOctalOrUnderscore);
    }
}

// `[eE][-+]?[0-9]+` (sign optional or required) running to the end of the text.
bool isExponentToEnd(std::string_view text, bool signRequired) {
    if (text.empty() || (text[0] != 'e' && text[0] != 'E')) {
        return false;
    }
    std::size_t i = 1;
    if (i < text.size() && isSign(text[i])) {
        ++i;
    } else if (signRequired) {
        return false;
    }
    return i < text.size() && allOf(text.substr(i), isDigit);
}

bool isInfinityWord(std::string_view text) {
    return isWordInThreeCases(text, "inf");
}
bool isNanWord(std::string_view text) {
    return text == "nan" || text == "NaN" || text == "NAN";
}

// Floats that start with a full stop: `\.[0-9_]+(?:[eE][-+][0-9]+)?` and the inf and nan words.
bool isDotFloat(std::string_view afterDot) {
    if (isInfinityWord(afterDot) || isNanWord(afterDot)) {
        return true;
    }
    const std::size_t end = skip(afterDot, 0, isDigitOrUnderscore);
    if (end == 0) {
        return false;
    }
    return end == afterDot.size() || isExponentToEnd(afterDot.substr(end), true);
}

// Floats that start with a digit (after an optional sign): decimal with optional fraction and
// exponent, or base 60 with a mandatory full stop.
bool isDigitFloat(std::string_view text) {
    std::size_t i = skip(text, 1, isDigitOrUnderscore);
    if (i == text.size()) {
        return true;
    }
    if (text[i] == ':') {
        i = sexagesimalTailEnd(text, i);
        return i != noMatch && i < text.size() && text[i] == '.' &&
               allOf(text.substr(i + 1), isDigitOrUnderscore);
    }
    if (text[i] == '.') {
        i = skip(text, i + 1, isDigitOrUnderscore);
        if (i == text.size()) {
            return true;
        }
    }
    return isExponentToEnd(text.substr(i), false);
}

} // namespace

bool matchesBool(std::string_view text) {
    switch (text.size()) {
    case 2:
        return isWordInThreeCases(text, "no") || isWordInThreeCases(text, "on");
    case 3:
        return isWordInThreeCases(text, "yes") || isWordInThreeCases(text, "off");
    case 4:
        return isWordInThreeCases(text, "true");
    case 5:
        return isWordInThreeCases(text, "false");
    default:
        return false;
    }
}

bool matchesInt(std::string_view text) {
    const std::string_view rest = !text.empty() && isSign(text[0]) ? text.substr(1) : text;
    if (rest.empty()) {
        return false;
    }
    if (rest[0] == '0') {
        return isZeroPrefixedInteger(rest.substr(1));
    }
    if (!isDigit(rest[0])) {
        return false;
    }
    const std::size_t end = skip(rest, 1, isDigitOrUnderscore);
    return end == rest.size() || sexagesimalTailEnd(rest, end) == rest.size();
}

bool matchesFloat(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    if (text[0] == '.') {
        return isDotFloat(text.substr(1));
    }
    const std::string_view rest = isSign(text[0]) ? text.substr(1) : text;
    if (rest.empty()) {
        return false;
    }
    if (rest[0] == '.') {
        return isInfinityWord(rest.substr(1));
    }
    return isDigit(rest[0]) && isDigitFloat(rest);
}

bool matchesMerge(std::string_view text) {
    return text == "<<";
}

bool matchesNull(std::string_view text) {
    return text.empty() || text == "~" || isWordInThreeCases(text, "null");
}

bool matchesTimestamp(std::string_view text) {
    // Cheap rejection first: every timestamp starts with four digits and a hyphen.
    if (text.size() < 8 || text[4] != '-') {
        return false;
    }
    const auto fields = parseTimestampFields(text);
    // A date alone needs two-digit month and day; with a time part one digit will do.
    return fields && (fields->hour || (fields->month.size() == 2 && fields->day.size() == 2));
}

bool matchesValue(std::string_view text) {
    return text == "=";
}

PlainScalarType classifyPlainScalarType(std::string_view text) {
    using Type = PlainScalarType;
    if (text.empty()) {
        return Type::null;
    }
    const char first = text[0];
    if (isDigit(first)) {
        if (matchesInt(text)) {
            return Type::integer;
        }
        if (matchesFloat(text)) {
            return Type::floating;
        }
        return matchesTimestamp(text) ? Type::timestamp : Type::str;
    }
    switch (first) {
    case '+':
    case '-':
        return matchesInt(text) ? Type::integer : matchesFloat(text) ? Type::floating : Type::str;
    case '.':
        return matchesFloat(text) ? Type::floating : Type::str;
    case '<':
        return matchesMerge(text) ? Type::merge : Type::str;
    case '=':
        return matchesValue(text) ? Type::value : Type::str;
    case '~':
        return matchesNull(text) ? Type::null : Type::str;
    case 'n':
    case 'N':
        return matchesBool(text) ? Type::boolean : matchesNull(text) ? Type::null : Type::str;
    case 'y':
    case 'Y':
    case 't':
    case 'T':
    case 'f':
    case 'F':
    case 'o':
    case 'O':
        return matchesBool(text) ? Type::boolean : Type::str;
    default:
        return Type::str;
    }
}

std::string_view classifyPlainScalar(std::string_view text) {
    switch (classifyPlainScalarType(text)) {
    case PlainScalarType::boolean:
        return TagName::boolean;
    case PlainScalarType::integer:
        return TagName::integer;
    case PlainScalarType::floating:
        return TagName::floating;
    case PlainScalarType::merge:
        return TagName::merge;
    case PlainScalarType::null:
        return TagName::null;
    case PlainScalarType::timestamp:
        return TagName::timestamp;
    case PlainScalarType::value:
        return TagName::value;
    case PlainScalarType::str:
        break;
    }
    return TagName::str;
}

} // namespace quessel::yaml

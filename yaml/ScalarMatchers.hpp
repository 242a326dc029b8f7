// Hand-written recognisers for the seven implicit YAML 1.1 scalar types, and their expressions.
//
// Every plain scalar of a document passes through these, so they read the text once, byte by
// byte, without a regular-expression engine. Each recogniser accepts exactly the texts its
// expression matches as a whole (tests hold every pair against each other). `$` means the very
// end of the text here: a platform regex would also let it match before one final line
// terminator, but libyaml never delivers a plain scalar that ends in a line break, so the
// difference cannot arise while loading, and for any other caller "true\n" is not a boolean.
#pragma once

#include <cstdint>
#include <string_view>

namespace quessel::yaml {

namespace ScalarPattern {
inline constexpr std::string_view boolean =
    "^(?:yes|Yes|YES|no|No|NO|true|True|TRUE|false|False|FALSE|on|On|ON|off|Off|OFF)$";
inline constexpr std::string_view integer =
    "^(?:[-+]?0b[0-1_]+|[-+]?0o?[0-7_]+|[-+]?(?:0|[1-9][0-9_]*)|[-+]?0x[0-9a-fA-F_]+"
    "|[-+]?[1-9][0-9_]*(?::[0-5]?[0-9])+)$";
inline constexpr std::string_view floating =
    "^(?:[-+]?(?:[0-9][0-9_]*)(?:\\.[0-9_]*)?(?:[eE][-+]?[0-9]+)?|\\.[0-9_]+(?:[eE][-+][0-9]+)?"
    "|[-+]?[0-9][0-9_]*(?::[0-5]?[0-9])+\\.[0-9_]*|[-+]?\\.(?:inf|Inf|INF)|\\.(?:nan|NaN|NAN))$";
inline constexpr std::string_view merge = "^(?:<<)$";
inline constexpr std::string_view null = "^(?:~|null|Null|NULL|)$";
inline constexpr std::string_view timestamp =
    "^(?:[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]|[0-9][0-9][0-9][0-9]-[0-9][0-9]?-[0-9][0-9]?"
    "(?:[Tt]|[ \\t]+)[0-9][0-9]?:[0-9][0-9]:[0-9][0-9](?:\\.[0-9]*)?"
    "(?:[ \\t]*(?:Z|[-+][0-9][0-9]?(?::[0-9][0-9])?))?)$";
inline constexpr std::string_view value = "^(?:=)$";
} // namespace ScalarPattern

bool matchesBool(std::string_view text);
bool matchesInt(std::string_view text);
bool matchesFloat(std::string_view text);
bool matchesMerge(std::string_view text);
bool matchesNull(std::string_view text);
bool matchesTimestamp(std::string_view text);
bool matchesValue(std::string_view text);

// The types the seven rules give a plain scalar, and str when none does.
enum class PlainScalarType : std::uint8_t {
    str,
    boolean,
    integer,
    floating,
    merge,
    null,
    timestamp,
    value,
};

// The type of the first of the seven rules (bool, int, float, merge, null, timestamp, value)
// whose recogniser accepts the text, or str. Looks at the first byte to try only the rules that
// can match at all: most plain scalars start with a letter that only bool and null could claim.
PlainScalarType classifyPlainScalarType(std::string_view text);

// The tag name of that type, a TagName constant.
std::string_view classifyPlainScalar(std::string_view text);

} // namespace quessel::yaml

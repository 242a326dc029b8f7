// Reading YAML 1.1 timestamps by hand: their fields, and the instant they name.
#pragma once

#include "yaml/YamlValue.hpp"

#include <optional>
#include <string_view>

namespace quessel::yaml {

// The expression a timestamp's text must match as a whole; its capture groups 1 to 11 are the
// fields of TimestampFields in declaration order. The parser below is its hand-written
// equivalent; the expression is kept so that tests can hold the two against each other.
inline constexpr std::string_view timestampPattern =
    "^([0-9][0-9][0-9][0-9])-([0-9][0-9]?)-([0-9][0-9]?)"
    "(?:(?:[Tt]|[ \\t]+)([0-9][0-9]?):([0-9][0-9]):([0-9][0-9])(?:\\.([0-9]*))?"
    "(?:[ \\t]*(Z|([-+])([0-9][0-9]?)(?::([0-9][0-9]))?))?)?$";

// The pieces of a timestamp's text, each as written (ASCII digits, or the zone's letter or
// sign). A field is absent when its group took no part in the match; the fraction may be
// present and empty ("12:00:00.").
struct TimestampFields {
    std::string_view year;
    std::string_view month;
    std::string_view day;
    std::optional<std::string_view> hour;
    std::optional<std::string_view> minute;
    std::optional<std::string_view> second;
    std::optional<std::string_view> fraction;
    std::optional<std::string_view> zone;
    std::optional<std::string_view> zoneSign;
    std::optional<std::string_view> zoneHours;
    std::optional<std::string_view> zoneMinutes;
};

// The fields when the whole text matches timestampPattern, otherwise nothing.
std::optional<TimestampFields> parseTimestampFields(std::string_view text);

// The instant the text names, or nothing when it does not match timestampPattern or a field lies
// outside its calendar range: month 1-12, day within the month (leap years of the proleptic
// Gregorian calendar counted), hour 0-23, minute and second 0-59, zone offset up to 23:59 either
// way. A text without zone is UTC; a fraction keeps at most its first nine digits.
std::optional<Timestamp> parseTimestamp(std::string_view text);

} // namespace quessel::yaml

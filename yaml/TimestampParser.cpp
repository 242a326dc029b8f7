// Reading YAML 1.1 timestamps by hand: their fields, and the instant they name.
#include "yaml/TimestampParser.hpp"

#include <cstdint>

namespace quessel::yaml {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A forward-only reader over the text. Every field of the expression is followed by a character
// that cannot continue it (a separator, a zone letter or sign, or the end), so taking digits
// greedily and checking what follows decides exactly what the backtracking expression decides.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }

    bool take(char c) {
        if (atEnd() || text_[pos_] != c) {
            return false;
        }
        ++pos_;
        return true;
    }

    // Between `least` and `most` digits, taken greedily; nothing when fewer are there or more
    // follow.
    std::optional<std::string_view> digits(std::size_t least, std::size_t most) {
        const std::size_t start = pos_;
        while (!atEnd() && isDigit(text_[pos_])) {
            ++pos_;
        }
        const std::size_t count = pos_ - start;
        if (count < least || count > most) {
            return std::nullopt;
        }
        return text_.substr(start, count);
    }

    // The text read since `start`, a position this cursor has passed.
    std::string_view since(std::size_t start) const { return text_.substr(start, pos_ - start); }
    std::size_t position() const { return pos_; }

    std::size_t skipBlanks() {
        const std::size_t start = pos_;
        while (!atEnd() && isBlank(text_[pos_])) {
            ++pos_;
        }
        return pos_ - start;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// `(?:[ \t]*(Z|([-+])([0-9][0-9]?)(?::([0-9][0-9]))?))?` followed by the end of the text.
bool readZoneToEnd(Cursor& in, TimestampFields& fields) {
    if (in.atEnd()) {
        return true;
    }
    in.skipBlanks();
    const std::size_t start = in.position();
    if (in.take('Z')) {
        fields.zone = in.since(start);
        return in.atEnd();
    }
    if (!in.take('+') && !in.take('-')) {
        return false;
    }
    fields.zoneSign = in.since(start);
    fields.zoneHours = in.digits(1, 2);
    if (!fields.zoneHours) {
        return false;
    }
    if (in.take(':')) {
        fields.zoneMinutes = in.digits(2, 2);
        if (!fields.zoneMinutes) {
            return false;
        }
    }
    fields.zone = in.since(start);
    return in.atEnd();
}

// `(?:[Tt]|[ \t]+)HH:MM:SS(?:\.F*)?` and the zone, up to the end of the text.
bool readTimeToEnd(Cursor& in, TimestampFields& fields) {
    if (!in.take('T') && !in.take('t') && in.skipBlanks() == 0) {
        return false;
    }
    fields.hour = in.digits(1, 2);
    if (!fields.hour || !in.take(':')) {
        return false;
    }
    fields.minute = in.digits(2, 2);
    if (!fields.minute || !in.take(':')) {
        return false;
    }
    fields.second = in.digits(2, 2);
    if (!fields.second) {
        return false;
    }
    if (in.take('.')) {
        fields.fraction = in.digits(0, std::string_view::npos);
    }
    return readZoneToEnd(in, fields);
}

int decimal(std::string_view digits) {
    int value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

bool isLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int daysInMonth(int year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar, counting in
// 400-year eras that start on 1 March so that the leap day falls at the end of each year.
std::int64_t daysFromCivil(int year, int month, int day) {
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return std::int64_t{era} * 146097 + dayOfEra - 719468;
}

// The zone offset east of UTC in seconds, or nothing when it lies beyond 23:59.
std::optional<int> zoneOffset(const TimestampFields& fields) {
    if (!fields.zoneHours) {
        return 0; // "Z", or no zone at all: UTC
    }
    const int hours = decimal(*fields.zoneHours);
    const int minutes = fields.zoneMinutes ? decimal(*fields.zoneMinutes) : 0;
    if (hours > 23 || minutes > 59) {
        return std::nullopt;
    }
    const int offset = hours * 3600 + minutes * 60;
    return *fields.zoneSign == "-" ? -offset : offset;
}

std::int32_t fractionNanoseconds(std::optional<std::string_view> fraction) {
    if (!fraction) {
        return 0;
    }
    const std::string_view digits = fraction->substr(0, 9);
    std::int32_t nanoseconds = decimal(digits);
    for (std::size_t i = digits.size(); i < 9; ++i) {
        nanoseconds *= 10;
    }
    return nanoseconds;
}

} // namespace

std::optional<TimestampFields> parseTimestampFields(std::string_view text) {
    Cursor in(text);
    TimestampFields fields;
    const auto year = in.digits(4, 4);
    if (!year || !in.take('-')) {
        return std::nullopt;
    }
    const auto month = in.digits(1, 2);
    if (!month || !in.take('-')) {
        return std::nullopt;
    }
    const auto day = in.digits(1, 2);
    if (!day) {
        return std::nullopt;
    }
    fields.year = *year;
    fields.month = *month;
    fields.day = *day;
    if (!in.atEnd() && !readTimeToEnd(in, fields)) {
        return std::nullopt;
    }
    return fields;
}

std::optional<Timestamp> parseTimestamp(std::string_view text) {
    const auto fields = parseTimestampFields(text);
    if (!fields) {
        return std::nullopt;
    }
    const int year = decimal(fields->year);
    const int month = decimal(fields->month);
    const int day = decimal(fields->day);
    const int hour = fields->hour ? decimal(*fields->hour) : 0;
    const int minute = fields->minute ? decimal(*fields->minute) : 0;
    const int second = fields->second ? decimal(*fields->second) : 0;
    const auto offset = zoneOffset(*fields);
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59 || !offset) {
        return std::nullopt;
    }
    const std::int64_t local =
        daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return Timestamp{local - *offset, fractionNanoseconds(fields->fraction)};
}

} // namespace quessel::yaml

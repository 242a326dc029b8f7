// Scalar construction: what each YAML 1.1 scalar type makes of a text, and which texts it
// refuses (those then load as text).
#include "yaml/ScalarConstruction.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>

namespace quessel::yaml {
namespace {

using namespace std::string_literals;

constexpr auto plain = ScalarStyle::plain;
constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();

// --- booleans ---

TEST(ConstructBool, AcceptsTheSixWordsInAnyMixtureOfCases) {
    for (const char* text : {"true", "yes", "on", "TRUE", "yES", "On", "tRuE"}) {
        EXPECT_EQ(constructBool(text), true) << text;
    }
    for (const char* text : {"false", "no", "off", "NO", "oFF", "False"}) {
        EXPECT_EQ(constructBool(text), false) << text;
    }
    for (const char* text : {"", "y", "n", "1", "0", "truee", "yes ", "t", "enabled",
                             "\xc3\xbf"
                             "es"}) {
        EXPECT_EQ(constructBool(text), std::nullopt) << text;
    }
    EXPECT_EQ(constructBool("true\0"s), std::nullopt);
}

// --- null ---

TEST(ConstructNull, OnlyPlainTextsInTheListedSpellings) {
    for (const char* text : {"", "~", "null", "Null", "NULL"}) {
        EXPECT_EQ(constructNull(text, plain), Null{}) << text;
    }
    for (const char* text : {"nULL", "Nil", "none", " ", "~~"}) {
        EXPECT_EQ(constructNull(text, plain), std::nullopt) << text;
    }
    for (const auto style : {ScalarStyle::any, ScalarStyle::singleQuoted, ScalarStyle::doubleQuoted,
                             ScalarStyle::literal, ScalarStyle::folded}) {
        EXPECT_EQ(constructNull("", style), std::nullopt);
        EXPECT_EQ(constructNull("~", style), std::nullopt);
    }
}

// --- integers ---

TEST(ConstructInt, DecimalWithSignsAndUnderscores) {
    EXPECT_EQ(constructInt("12", plain), 12);
    EXPECT_EQ(constructInt("+12", plain), 12);
    EXPECT_EQ(constructInt("-12", plain), -12);
    EXPECT_EQ(constructInt("1_000", plain), 1000);
    EXPECT_EQ(constructInt("_1_0_", plain), 10);
    EXPECT_EQ(constructInt("0", plain), 0);
    EXPECT_EQ(constructInt("_0_", plain), 0);
    EXPECT_EQ(constructInt("12", ScalarStyle::any), 12);
}

TEST(ConstructInt, RadixPrefixesInTheirOrder) {
    EXPECT_EQ(constructInt("0b1010", plain), 10);
    EXPECT_EQ(constructInt("-0b11", plain), -3);
    EXPECT_EQ(constructInt("0o17", plain), 15);
    EXPECT_EQ(constructInt("017", plain), 15);
    EXPECT_EQ(constructInt("012", plain), 10);
    EXPECT_EQ(constructInt("0x1F", plain), 31);
    EXPECT_EQ(constructInt("0x1f", plain), 31);
    EXPECT_EQ(constructInt("0x_1F", plain), 31);
    EXPECT_EQ(constructInt("+0x1F", plain), 31);
    EXPECT_EQ(constructInt("00", plain), 0);
    // "0b" comes after "0x": hexadecimal digits may include b.
    EXPECT_EQ(constructInt("0x0b1", plain), 0xb1);
}

TEST(ConstructInt, PrefixesWithoutProperDigitsGiveNothing) {
    // "-0" and "+0": the "0" prefix takes the zero and leaves no digits.
    for (const char* text : {"-0", "+0", "0x", "0b", "0o", "0b2", "0o8", "08", "09", "0xg", "0X1F",
                             "0B1", "0x-1", "0x+1", "0b-1", "-0x-1", "09:30", "0:30"}) {
        EXPECT_EQ(constructInt(text, plain), std::nullopt) << text;
    }
}

TEST(ConstructInt, TheFull64BitRangeAndNoFurther) {
    EXPECT_EQ(constructInt("9223372036854775807", plain), int64Max);
    EXPECT_EQ(constructInt("-9223372036854775808", plain), int64Min);
    EXPECT_EQ(constructInt("0x7FFFFFFFFFFFFFFF", plain), int64Max);
    EXPECT_EQ(constructInt("-0x8000000000000000", plain), int64Min);
    EXPECT_EQ(constructInt("-0o1000000000000000000000", plain), int64Min);
    for (const char* text : {"9223372036854775808", "-9223372036854775809", "0x8000000000000000",
                             "0xFFFFFFFFFFFFFFFF", "99999999999999999999999"}) {
        EXPECT_EQ(constructInt(text, plain), std::nullopt) << text;
    }
}

TEST(ConstructInt, Base60) {
    EXPECT_EQ(constructInt("9:30", plain), 570);
    EXPECT_EQ(constructInt("190:20:30", plain), 685230);
    EXPECT_EQ(constructInt("-1:30", plain), -90);
    EXPECT_EQ(constructInt("+1:30", plain), 90);
    EXPECT_EQ(constructInt("1_0:3_0", plain), 630);
    // Explicitly tagged texts may carry components the implicit rule would not allow.
    EXPECT_EQ(constructInt("1:60", plain), 120);
    EXPECT_EQ(constructInt("1:0:0:0:0:0:0:0:0:0:0", plain), 604661760000000000); // 60^10
    for (const char* text : {"1::30", "1:", ":30", "1:3a", "1:-30", "1:+30", "1: 30", "-:1"}) {
        EXPECT_EQ(constructInt(text, plain), std::nullopt) << text;
    }
}

TEST(ConstructInt, Base60BeyondThe64BitRangeGivesNothing) {
    EXPECT_EQ(constructInt("1:0:0:0:0:0:0:0:0:0:0:0", plain), std::nullopt); // 60^11
    EXPECT_EQ(constructInt("153722867280912930:7", plain), int64Max);
    EXPECT_EQ(constructInt("153722867280912930:8", plain), std::nullopt);
    EXPECT_EQ(constructInt("-153722867280912930:8", plain), int64Min);
    EXPECT_EQ(constructInt("-153722867280912930:9", plain), std::nullopt);
}

TEST(ConstructInt, QuotedOrBlockTextsAndNonNumbersGiveNothing) {
    for (const auto style : {ScalarStyle::singleQuoted, ScalarStyle::doubleQuoted,
                             ScalarStyle::literal, ScalarStyle::folded}) {
        EXPECT_EQ(constructInt("12", style), std::nullopt);
    }
    for (const char* text : {"", "_", "+", "-", "abc", "1.5", "1e3", " 12", "12 ", "+-12", "--1",
                             "\xd9\xa1\xd9\xa2", "\xef\xbc\x95"}) {
        EXPECT_EQ(constructInt(text, plain), std::nullopt) << text;
    }
    EXPECT_EQ(constructInt("12\0"s, plain), std::nullopt);
}

// --- floats ---

TEST(ConstructFloat, DecimalForms) {
    EXPECT_EQ(constructFloat("1.5", plain), 1.5);
    EXPECT_EQ(constructFloat("1.", plain), 1.0);
    EXPECT_EQ(constructFloat(".5", plain), 0.5);
    EXPECT_EQ(constructFloat("-.5", plain), -0.5);
    EXPECT_EQ(constructFloat("1e3", plain), 1000.0);
    EXPECT_EQ(constructFloat(".5e+3", plain), 500.0);
    EXPECT_EQ(constructFloat("1_000.5", plain), 1000.5);
    EXPECT_EQ(constructFloat("08", plain), 8.0);
    EXPECT_EQ(constructFloat("12", ScalarStyle::any), 12.0);
    EXPECT_TRUE(std::signbit(*constructFloat("-0.0", plain)));
}

TEST(ConstructFloat, InfinityAndNotANumberAsTheRuleSpellsThem) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(constructFloat(".inf", plain), inf);
    EXPECT_EQ(constructFloat("+.Inf", plain), inf);
    EXPECT_EQ(constructFloat("-.INF", plain), -inf);
    EXPECT_TRUE(std::isnan(*constructFloat(".nan", plain)));
    EXPECT_TRUE(std::isnan(*constructFloat(".NaN", plain)));
    EXPECT_TRUE(std::isnan(*constructFloat(".NAN", plain)));
    for (const char* text : {"+.nan", "-.NaN", ".Nan", ".iNF", ".infinity", "._inf"}) {
        EXPECT_EQ(constructFloat(text, plain), std::nullopt) << text;
    }
}

TEST(ConstructFloat, Base60InDoubles) {
    EXPECT_DOUBLE_EQ(*constructFloat("190:20:30.15", plain), 685230.15);
    EXPECT_DOUBLE_EQ(*constructFloat("-1:30.5", plain), -90.5);
    EXPECT_DOUBLE_EQ(*constructFloat("1:30", plain), 90.0);
    EXPECT_DOUBLE_EQ(*constructFloat("1_0:3_0.5", plain), 630.5);
    for (const char* text : {"1::30.5", ":30.5", "1:", "1:-30", "1:+30", "1: 30", "1:30 "}) {
        EXPECT_EQ(constructFloat(text, plain), std::nullopt) << text;
    }
}

TEST(ConstructFloat, KeepsTheFormsTheCLibraryReads) {
    EXPECT_EQ(constructFloat("0x1p3", plain), 8.0);
    EXPECT_EQ(constructFloat("inf", plain), std::numeric_limits<double>::infinity());
    EXPECT_EQ(constructFloat("-Infinity", plain), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(*constructFloat("nan", plain)));
    EXPECT_EQ(constructFloat("1e999", plain), std::numeric_limits<double>::infinity());
    EXPECT_EQ(constructFloat("1e-999", plain), 0.0);
}

TEST(ConstructFloat, RefusesPartialAndPaddedTexts) {
    for (const char* text : {"", "_", ".", "+.", "1e", "1.5.5", "1,5", " 1.5", "\t1.5", "\n1.5",
                             "1.5 ", "1.5x", "abc", "+-1.5"}) {
        EXPECT_EQ(constructFloat(text, plain), std::nullopt) << text;
    }
    EXPECT_EQ(constructFloat("1.5\0"s, plain), std::nullopt);
    for (const auto style : {ScalarStyle::singleQuoted, ScalarStyle::doubleQuoted,
                             ScalarStyle::literal, ScalarStyle::folded}) {
        EXPECT_EQ(constructFloat("1.5", style), std::nullopt);
        EXPECT_EQ(constructFloat(".inf", style), std::nullopt);
    }
}

// Switches LC_NUMERIC to a locale with a decimal comma for its lifetime. When none is
// installed, one is compiled into a temporary directory with localedef, as a German desktop
// would have it; `active()` is false when that is impossible too.
class DecimalCommaLocale {
public:
    DecimalCommaLocale() : saved_(currentNumericLocale()) {
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
            active_ = true;
            return;
        }
        char pattern[] = "/tmp/quessel-locale-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            return;
        }
        directory_ = pattern;
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + directory_.string() + "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) {
            setenv("LOCPATH", directory_.c_str(), 1);
            active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
        }
    }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;
    ~DecimalCommaLocale() {
        std::setlocale(LC_NUMERIC, saved_.c_str());
        if (!directory_.empty()) {
            unsetenv("LOCPATH");
            std::error_code ignored;
            std::filesystem::remove_all(directory_, ignored);
        }
    }

    bool active() const { return active_; }

private:
    static std::string currentNumericLocale() {
        const char* name = std::setlocale(LC_NUMERIC, nullptr);
        return name != nullptr ? name : "C";
    }

    std::string saved_;
    std::filesystem::path directory_;
    bool active_ = false;
};

TEST(ConstructFloat, IgnoresTheProcessLocale) {
    // GTK sets the locale from the environment at start-up; "1.5" must still read as 1.5.
    const DecimalCommaLocale locale;
    if (!locale.active()) {
        GTEST_SKIP() << "no locale with a decimal comma can be made here";
    }
    ASSERT_EQ(std::strtod("1,5", nullptr), 1.5); // the locale really is in force
    EXPECT_EQ(constructFloat("1.5", plain), 1.5);
    EXPECT_EQ(constructFloat("1,5", plain), std::nullopt);
    EXPECT_DOUBLE_EQ(*constructFloat("190:20:30.15", plain), 685230.15);
}

// --- binary ---

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(ConstructBinary, DecodesTheStandardAlphabetSkippingEverythingElse) {
    EXPECT_EQ(constructBinary("QUJD"), Data{bytesOf("ABC")});
    EXPECT_EQ(constructBinary("QU\nJD\n"), Data{bytesOf("ABC")});
    EXPECT_EQ(constructBinary("  QUJD\n  REVG\n"), Data{bytesOf("ABCDEF")});
    EXPECT_EQ(constructBinary("+/+/"), (Data{{0xfb, 0xff, 0xbf}}));
    EXPECT_EQ(constructBinary("-_-_QUJD\xc3\xa9"), Data{bytesOf("ABC")});
    EXPECT_EQ(constructBinary(""), Data{});
    EXPECT_EQ(constructBinary(" \n\t"), Data{});
}

TEST(ConstructBinary, PaddingIsOptionalButMustFitTheLastGroup) {
    EXPECT_EQ(constructBinary("QQ=="), Data{bytesOf("A")});
    EXPECT_EQ(constructBinary("QUI="), Data{bytesOf("AB")});
    EXPECT_EQ(constructBinary("QQ"), Data{bytesOf("A")});
    EXPECT_EQ(constructBinary("QUI"), Data{bytesOf("AB")});
    EXPECT_EQ(constructBinary("QQ=\n=\n"), Data{bytesOf("A")});
    for (const char* text : {"Q", "QUJDR", "Q===", "QQ=", "QQ===", "QUI==", "QUJD=", "=",
                             "====", "QQ==QQ==", "QQ==Q"}) {
        EXPECT_EQ(constructBinary(text), std::nullopt) << text;
    }
}

// --- timestamps ---

Timestamp at(std::int64_t seconds, std::int32_t nanoseconds = 0) {
    return Timestamp{seconds, nanoseconds};
}

TEST(ConstructTimestamp, DatesAloneAreMidnightUtc) {
    EXPECT_EQ(constructTimestamp("2001-12-14"), at(1008288000));
    EXPECT_EQ(constructTimestamp("2001-1-1"), at(978307200)); // reachable through !!timestamp
    EXPECT_EQ(constructTimestamp("1970-01-01"), at(0));
    EXPECT_EQ(constructTimestamp("0000-01-01"), at(-62167219200));
    EXPECT_EQ(constructTimestamp("9999-12-31 23:59:59"), at(253402300799));
}

TEST(ConstructTimestamp, ZonesShiftToUtc) {
    const Timestamp expected = at(1008385183, 100000000); // 2001-12-15 02:59:43.1 UTC
    EXPECT_EQ(constructTimestamp("2001-12-14t21:59:43.10-05:00"), expected);
    EXPECT_EQ(constructTimestamp("2001-12-14 21:59:43.10 -5"), expected);
    EXPECT_EQ(constructTimestamp("2001-12-15T02:59:43.1Z"), expected);
    EXPECT_EQ(constructTimestamp("2001-12-15 \t 02:59:43.1 \t Z"), expected);
    EXPECT_EQ(constructTimestamp("2001-12-15T02:59:43.1"), expected);
    EXPECT_EQ(constructTimestamp("2001-12-14 21:59:43 +05:30"), at(1008347383));
    EXPECT_EQ(constructTimestamp("2001-12-14 21:59:43 -23:59"), at(1008453523));
}

TEST(ConstructTimestamp, FractionsKeepNanosecondsAndCountForward) {
    EXPECT_EQ(constructTimestamp("2001-12-14 21:59:43.1234567891Z"), at(1008367183, 123456789));
    EXPECT_EQ(constructTimestamp("2001-12-14 21:59:43.000000001"), at(1008367183, 1));
    EXPECT_EQ(constructTimestamp("2001-12-14 21:59:43."), at(1008367183));
    EXPECT_EQ(constructTimestamp("1969-12-31 23:59:59.5"), at(-1, 500000000));
}

TEST(ConstructTimestamp, LeapYearsOfTheGregorianCalendar) {
    EXPECT_EQ(constructTimestamp("2000-02-29 12:00:00"), at(951825600));
    EXPECT_TRUE(constructTimestamp("2004-02-29"));
    EXPECT_TRUE(constructTimestamp("0000-02-29"));
    EXPECT_FALSE(constructTimestamp("1900-02-29"));
    EXPECT_FALSE(constructTimestamp("2001-02-29"));
    EXPECT_FALSE(constructTimestamp("2001-04-31"));
    EXPECT_TRUE(constructTimestamp("2001-12-31"));
}

TEST(ConstructTimestamp, FieldsOutsideTheirRangesGiveNothing) {
    for (const char* text : {"2001-00-14", "2001-13-14", "2001-12-00", "2001-12-32",
                             "2001-12-14 24:00:00", "2001-12-14 23:60:00", "2001-12-14 23:59:60",
                             "2001-12-14 12:00:00 +24", "2001-12-14 12:00:00 -24:00",
                             "2001-12-14 12:00:00 +05:60", "2001-12-14 12:00:00 +99:99"}) {
        EXPECT_EQ(constructTimestamp(text), std::nullopt) << text;
    }
}

TEST(ConstructTimestamp, TextsOutsideTheExpressionGiveNothing) {
    for (const char* text :
         {"", "2001", "2001-12", "01-12-14", "2001-12-14 ", "2001-12-14T", "2001-12-14 21:59",
          "2001-12-14 21:59:43 ", "2001-12-14 21:59:43+", "2001-12-14 21:59:43z",
          "2001-12-14 21:59:43+5:0", "2001-12-14 21:59:43+123", "2001-123-14"}) {
        EXPECT_EQ(constructTimestamp(text), std::nullopt) << text;
    }
    EXPECT_EQ(constructTimestamp("2001-12-14\0"s), std::nullopt);
}

} // namespace
} // namespace quessel::yaml

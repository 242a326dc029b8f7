// Scalar construction: what each YAML 1.1 scalar type makes of a text, and which texts it
// refuses (those then load as text).
#include "yaml/ScalarConstruction.hpp"

#include <glib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace quessel::yaml {
namespace {

using namespace std::string_view_literals;

constexpr auto plain = ScalarStyle::plain;
constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();

std::optional<std::int64_t> plainInt(std::string_view text) {
    return constructInt(text, plain);
}
std::optional<double> plainFloat(std::string_view text) {
    return constructFloat(text, plain);
}

// Each text gives the value paired with it.
template <typename Value, typename Construct>
void expectValues(Construct construct,
                  std::initializer_list<std::pair<std::string_view, Value>> cases) {
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(construct(text), std::optional<Value>(value)) << text;
    }
}

// Each text gives nothing, and so loads as text.
template <typename Construct>
void expectRefused(Construct construct, std::initializer_list<std::string_view> texts) {
    for (const std::string_view text : texts) {
        EXPECT_EQ(construct(text), std::nullopt) << text;
    }
}

constexpr ScalarStyle quotedAndBlockStyles[] = {ScalarStyle::singleQuoted,
                                                ScalarStyle::doubleQuoted, ScalarStyle::literal,
                                                ScalarStyle::folded};

// --- booleans ---

TEST(ConstructBool, AcceptsTheSixWordsInAnyMixtureOfCases) {
    expectValues<bool>(constructBool, {{"true", true},
                                       {"yes", true},
                                       {"on", true},
                                       {"TRUE", true},
                                       {"yES", true},
                                       {"On", true},
                                       {"tRuE", true},
                                       {"false", false},
                                       {"no", false},
                                       {"off", false},
                                       {"NO", false},
                                       {"oFF", false},
                                       {"False", false}});
    expectRefused(constructBool, {"", "y", "n", "1", "0", "truee", "yes ", "t", "enabled",
                                  "\u00ffes", "true\0"sv});
}

// --- null ---

TEST(ConstructNull, OnlyPlainTextsInTheListedSpellings) {
    for (const char* text : {"", "~", "null", "Null", "NULL"}) {
        EXPECT_EQ(constructNull(text, plain), Null{}) << text;
    }
    expectRefused([](std::string_view text) { return constructNull(text, plain); },
                  {"nULL", "Nil", "none", " ", "~~", "null\0"sv});
    for (const auto style : quotedAndBlockStyles) {
        EXPECT_EQ(constructNull("", style), std::nullopt);
        EXPECT_EQ(constructNull("~", style), std::nullopt);
    }
    EXPECT_EQ(constructNull("", ScalarStyle::any), std::nullopt);
}

// --- integers ---

TEST(ConstructInt, DecimalWithSignsAndUnderscores) {
    expectValues<std::int64_t>(plainInt, {{"12", 12},
                                          {"+12", 12},
                                          {"-12", -12},
                                          {"1_000", 1000},
                                          {"_1_0_", 10},
                                          {"0", 0},
                                          {"_0_", 0}});
    EXPECT_EQ(constructInt("12", ScalarStyle::any), 12);
}

TEST(ConstructInt, RadixPrefixesInTheirOrder) {
    expectValues<std::int64_t>(plainInt, {{"0b1010", 10},
                                          {"-0b11", -3},
                                          {"0o17", 15},
                                          {"017", 15},
                                          {"012", 10},
                                          {"0x1F", 31},
                                          {"0x1f", 31},
                                          {"0x_1F", 31},
                                          {"+0x1F", 31},
                                          {"00", 0},
                                          // "0b" comes after "0x": hex digits may include b
                                          {"0x0b1", 0xb1}});
}

TEST(ConstructInt, PrefixesWithoutProperDigitsGiveNothing) {
    // "-0" and "+0": the "0" prefix takes the zero and leaves no digits.
    expectRefused(plainInt, {"-0", "+0", "0x", "0b", "0o", "0b2", "0o8", "08", "09", "0xg", "0X1F",
                             "0B1", "0x-", "0-", "09:30", "0:30"});
}

TEST(ConstructInt, TheDigitsAfterAPrefixMayCarryTheSign) {
    // The sign in front is written before the digits, so with a sign of their own they hold
    // one sign ("+" in front leaves none) or two.
    expectValues<std::int64_t>(plainInt, {{"0x-5", -5},
                                          {"0x+1F", 31},
                                          {"0o-7", -7},
                                          {"0b-1", -1},
                                          {"0-17", -15},
                                          {"0x_-_1_0", -16},
                                          {"+0x-5", -5},
                                          {"0x-8000000000000000", int64Min}});
    expectRefused(plainInt,
                  {"-0x-5", "-0x+5", "-0b-1", "0x--5", "0x-+5", "0x+8000000000000000", "0x-_"});
}

TEST(ConstructInt, TheFull64BitRangeAndNoFurther) {
    expectValues<std::int64_t>(plainInt, {{"9223372036854775807", int64Max},
                                          {"-9223372036854775808", int64Min},
                                          {"0x7FFFFFFFFFFFFFFF", int64Max},
                                          {"-0x8000000000000000", int64Min},
                                          {"-0o1000000000000000000000", int64Min}});
    expectRefused(plainInt, {"9223372036854775808", "-9223372036854775809", "0x8000000000000000",
                             "0xFFFFFFFFFFFFFFFF", "99999999999999999999999"});
}

TEST(ConstructInt, Base60) {
    expectValues<std::int64_t>(plainInt, {{"9:30", 570},
                                          {"190:20:30", 685230},
                                          {"-1:30", -90},
                                          {"+1:30", 90},
                                          {"1_0:3_0", 630},
                                          // explicitly tagged texts may go beyond the rule
                                          {"1:60", 120},
                                          {"1:0:0:0:0:0:0:0:0:0:0", 604661760000000000}});
    expectRefused(plainInt, {"1::30", "1:", ":30", "1:3a", "1:-30", "1:+30", "1: 30", "-:1"});
}

TEST(ConstructInt, Base60BeyondThe64BitRangeGivesNothing) {
    expectValues<std::int64_t>(
        plainInt, {{"153722867280912930:7", int64Max}, {"-153722867280912930:8", int64Min}});
    expectRefused(plainInt,
                  {"1:0:0:0:0:0:0:0:0:0:0:0", "153722867280912930:8", "-153722867280912930:9"});
}

TEST(ConstructInt, QuotedOrBlockTextsAndNonNumbersGiveNothing) {
    for (const auto style : quotedAndBlockStyles) {
        EXPECT_EQ(constructInt("12", style), std::nullopt);
    }
    expectRefused(plainInt, {"", "_", "+", "-", "abc", "1.5", "1e3", " 12", "12 ", "+-12", "--1",
                             "\xd9\xa1\xd9\xa2", "\xef\xbc\x95", "12\0"sv});
}

// --- floats ---

TEST(ConstructFloat, DecimalForms) {
    expectValues<double>(plainFloat, {{"1.5", 1.5},
                                      {"1.", 1.0},
                                      {".5", 0.5},
                                      {"-.5", -0.5},
                                      {"1e3", 1000.0},
                                      {".5e+3", 500.0},
                                      {"1_000.5", 1000.5},
                                      {"08", 8.0}});
    EXPECT_EQ(constructFloat("12", ScalarStyle::any), 12.0);
    EXPECT_TRUE(std::signbit(*constructFloat("-0.0", plain)));
}

TEST(ConstructFloat, InfinityAndNotANumberAsTheRuleSpellsThem) {
    const double inf = std::numeric_limits<double>::infinity();
    expectValues<double>(plainFloat, {{".inf", inf}, {"+.Inf", inf}, {"-.INF", -inf}});
    for (const char* text : {".nan", ".NaN", ".NAN"}) {
        EXPECT_TRUE(std::isnan(plainFloat(text).value_or(0))) << text;
    }
    expectRefused(plainFloat, {"+.nan", "-.NaN", ".Nan", ".iNF", ".infinity", "._inf"});
}

TEST(ConstructFloat, Base60InDoubles) {
    EXPECT_DOUBLE_EQ(*constructFloat("190:20:30.15", plain), 685230.15);
    EXPECT_DOUBLE_EQ(*constructFloat("-1:30.5", plain), -90.5);
    EXPECT_DOUBLE_EQ(*constructFloat("1:30", plain), 90.0);
    EXPECT_DOUBLE_EQ(*constructFloat("1_0:3_0.5", plain), 630.5);
    expectRefused(plainFloat, {"1::30.5", ":30.5", "1:", "1:-30", "1:+30", "1: 30", "1:30 "});
}

TEST(ConstructFloat, KeepsTheFormsTheCLibraryReads) {
    const double inf = std::numeric_limits<double>::infinity();
    expectValues<double>(
        plainFloat,
        {{"0x1p3", 8.0}, {"inf", inf}, {"-Infinity", -inf}, {"1e999", inf}, {"1e-999", 0.0}});
    EXPECT_TRUE(std::isnan(plainFloat("nan").value_or(0)));
}

// Decimals are read without the C library, and must round as it does to the last bit: halfway
// cases, long digit strings, the edges of the normal and subnormal ranges.
TEST(ConstructFloat, DecimalsRoundAsTheCLibraryRoundsThem) {
    for (const char* text :
         {"0.1", "0.30000000000000004", "9007199254740993", "9007199254740995",
          "1.7976931348623157e308", "1.7976931348623158e308", "2.2250738585072011e-308",
          "2.2250738585072014e-308", "4.9406564584124654e-324", "2.4703282292062328e-324", "1e-320",
          "-1e-310", "123456789012345678901234567890e-10",
          "0.1000000000000000055511151231257827021181583404541015625", "-0", "-.000001e6", "7.",
          "3.14159265358979323846264338327950288"}) {
        const auto value = plainFloat(text);
        ASSERT_TRUE(value) << text;
        const double expected = std::strtod(text, nullptr);
        EXPECT_EQ(std::memcmp(&*value, &expected, sizeof expected), 0) << text;
    }
}

TEST(ConstructFloat, RefusesPartialAndPaddedTexts) {
    expectRefused(plainFloat, {"", "_", ".", "+.", "1e", "1.5.5", "1,5", " 1.5", "\t1.5", "\n1.5",
                               "1.5 ", "1.5x", "abc", "+-1.5", "1.5\0"sv});
    for (const auto style : quotedAndBlockStyles) {
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
    // A single character left over holds six bits, less than a byte.
    expectRefused(constructBinary, {"Q", "QUJDR", "Q===", "QQ=", "QQ===", "QUI==", "QUJD=", "=",
                                    "====", "QQ==QQ==", "QQ==Q"});
}

TEST(ConstructBinary, EveryByteValueSurvivesALineWrappedEncoding) {
    std::vector<std::uint8_t> bytes(1000);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    const std::unique_ptr<gchar, void (*)(gpointer)> encoded(
        g_base64_encode(bytes.data(), bytes.size()), g_free);
    std::string wrapped;
    for (std::string_view rest = encoded.get(); !rest.empty();
         rest.remove_prefix(std::min<std::size_t>(rest.size(), 76))) {
        wrapped += "  " + std::string(rest.substr(0, 76)) + "\n";
    }
    EXPECT_EQ(constructBinary(wrapped), Data{bytes});
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
    expectRefused(constructTimestamp,
                  {"2001-00-14", "2001-13-14", "2001-12-00", "2001-12-32", "2001-12-14 24:00:00",
                   "2001-12-14 23:60:00", "2001-12-14 23:59:60", "2001-12-14 12:00:00 +24",
                   "2001-12-14 12:00:00 -24:00", "2001-12-14 12:00:00 +05:60",
                   "2001-12-14 12:00:00 +99:99"});
}

TEST(ConstructTimestamp, TextsOutsideTheExpressionGiveNothing) {
    expectRefused(constructTimestamp,
                  {"", "2001", "2001-12", "01-12-14", "2001-12-14 ", "2001-12-14T",
                   "2001-12-14 21:59", "2001-12-14 21:59:43 ", "2001-12-14 21:59:43+",
                   "2001-12-14 21:59:43z", "2001-12-14 21:59:43+5:0", "2001-12-14 21:59:43+123",
                   "2001-123-14", "2001-12-14\0"sv});
}

} // namespace
} // namespace quessel::yaml

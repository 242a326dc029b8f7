// The hand-written recognisers against their own expressions, compiled by the regex engine: on
// curated edge cases and on many thousands of seeded random texts they must agree everywhere.
#include "yaml/Resolver.hpp"
#include "yaml/ScalarMatchers.hpp"
#include "yaml/TagName.hpp"
#include "yaml/TimestampParser.hpp"

#include <glib.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace quessel::yaml {
namespace {

using namespace std::string_literals;

struct Recogniser {
    std::string_view tag;
    std::string_view pattern;
    bool (*matches)(std::string_view);
};

const std::array<Recogniser, 7> recognisers = {{
    {TagName::boolean, ScalarPattern::boolean, matchesBool},
    {TagName::integer, ScalarPattern::integer, matchesInt},
    {TagName::floating, ScalarPattern::floating, matchesFloat},
    {TagName::merge, ScalarPattern::merge, matchesMerge},
    {TagName::null, ScalarPattern::null, matchesNull},
    {TagName::timestamp, ScalarPattern::timestamp, matchesTimestamp},
    {TagName::value, ScalarPattern::value, matchesValue},
}};

std::string printable(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f) {
            static constexpr char hex[] = "0123456789abcdef";
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const std::vector<std::string>& curatedTexts() {
    // clang-format off
    static const std::vector<std::string> texts = {
        // booleans and near misses
        "yes", "Yes", "YES", "yES", "yeS", "YEs", "no", "No", "NO", "nO", "true", "True", "TRUE",
        "tRUE", "TRue", "false", "False", "FALSE", "fALSE", "on", "On", "ON", "oN", "off", "Off",
        "OFF", "oFF", "OFf", "y", "n", "Y", "N", "yess", "ye", "tru", "fals", "offf", "yes ",
        " yes", "y\xc3\xa9s", "\xef\xbd\x94rue",
        // integers
        "0", "00", "-0", "+0", "012", "0o12", "0o", "0x", "0b", "-0x", "0x_1F", "0x_", "0b_",
        "0o_", "0b2", "0b102", "0b1010", "-0b11", "0o8", "0o17", "017", "08", "09", "0_", "_0",
        "1_000", "_1", "1_", "__", "12", "+12", "-12", "+-12", "--1", "9:30", "09:30", "1:60",
        "1:59", "1:5", "1:05", "1:65", "1:123", "1:", ":30", "1::30", "0:30", "12:3:4",
        "190:20:30", "-1:30", "+1:30", "1:30:", "1_0:30", "1:3_0", "0x1F", "0x1f", "0xg", "0X1F",
        "0B1", "0O7", "+0x1f", "0x-1", "0x+1", "9223372036854775807", "9223372036854775808",
        "-9223372036854775808", "-9223372036854775809", "0x8000000000000000", "-", "+", "",
        "1e3", "\xd9\xa1\xd9\xa2", "\xef\xbc\x95", "1 ", " 1", "1\t",
        // floats
        "1.5", "1.", "-1.", ".5", "-.5", "+.5", "1e3", "1E3", "1e+3", "1e-3", "1.e3", "1.5e3",
        ".e5", ".5e+3", ".5e3", ".5e-3", ".5E-3", "1_000.5", "._", "._e+1", ".inf", ".Inf",
        ".INF", ".iNF", ".InF", "+.inf", "-.inf", "-.INF", "+.Inf", ".nan", ".NaN", ".NAN",
        ".Nan", ".nAN", "+.nan", "-.nan", "1:30.5", "190:20:30.15", "1:60.5", "1:30.", "0:30.5",
        "-1:30.5", "+1:30.5", "1:30.5e3", "1.5.5", "1e", "1e+", "e3", "E3", ".", "+.", "-.",
        "1_e3", "1e3_", "1e_3", "1__", "1._", "1.5 ", "inf", "nan", "Infinity", "0x1p3", "1,5",
        "1.5e+3.5", "08.5", "1:5:5.5", "1:5::5.", ".1_2", "._1e-2",
        // merge, null, value
        "<<", "<", "<<<", "<< ", "=<<", "~", "~~", " ~", "null", "Null", "NULL", "nULL", "NuLL",
        "nul", "nulll", " ", "Nil", "=", "==", "= ", "\t",
        // timestamps
        "2001-12-14", "2001-1-1", "2001-12-1", "2001-1-14", "2001-12-14t21:59:43.10-05:00",
        "2001-12-14 21:59:43.10 -5", "2001-12-14T21:59:43Z", "2001-12-14\t21:59:43",
        "2001-12-14 \t 21:59:43", "2001-12-14T21:59:43.Z", "2001-12-14T21:59:43.",
        "2001-12-14T1:59:43", "2001-1-1T1:59:43", "2001-12-14T121:59:43", "2001-12-14T21:5:43",
        "2001-12-14T21:59:4", "2001-12-14T21:59:43 ", "2001-12-14T21:59:43 Z",
        "2001-12-14T21:59:43+5:00", "2001-12-14T21:59:43+05:0", "2001-12-14T21:59:43+123",
        "2001-12-14T21:59:43+12:345", "2001-12-14T21:59:43+12:34", "2001-12-14x",
        "2001-12-14T", "2001-12-14 ", "2001-12-14Tt21:59:43", "2001-12-14T 21:59:43",
        "20011-12-14", "201-12-14", "2001-123-14", "2001-12-144", "2001-12-14 21:59:43.1234567891Z",
        "2001-12-14 21:59:43.10 \t-05:30", "2001-12-14 21:59:43-5", "2001-12-14T21:59:43z",
        "2001-12-14T21:59:43+05:00:00", "2001-12-14T21:59:43 +", "2001-12-14T21:59:43.5.5",
        "\xd9\xa2\xd9\xa0\xd9\xa0\xd9\xa1-12-14", "9999-99-99", "0000-00-00",
        "2001-12-14T21:59:43-", "2001-12-14T21:59:43ZZ", "2001-12-14 21:59:43 Z",
        // control characters, NUL bytes and final line terminators
        "\0"s, "1\0"s, "yes\0"s, "\0yes"s, "null\0"s, "~\0"s, "1.5\0"s, "2001-12-14\0"s, "yes\n",
        "12\n", "\n", "\r", "1.5\r", "null\xe2\x80\xa8", "<<\n", "=\n", "2001-12-14\n", "\r\n",
        "0x1F\r\n", ".inf\xc2\x85",
    };
    // clang-format on
    return texts;
}

// The expressions compiled the way custom resolver rules are: the same engine and options.
std::vector<Resolver::Rule> compiledRules() {
    std::vector<Resolver::Rule> rules;
    for (const Recogniser& recogniser : recognisers) {
        rules.push_back(Resolver::Rule::fromPattern(std::string(recogniser.tag),
                                                    std::string(recogniser.pattern)));
    }
    return rules;
}

// Each recogniser agrees with its expression on the text; counts the texts some rule accepts.
void expectAgreement(const std::vector<Resolver::Rule>& rules, std::string_view text,
                     std::array<int, 7>& accepted) {
    for (std::size_t i = 0; i < recognisers.size(); ++i) {
        const bool byHand = recognisers[i].matches(text);
        ASSERT_EQ(byHand, rules[i].matches(text))
            << recognisers[i].tag << " disagrees on " << printable(text);
        accepted[i] += byHand ? 1 : 0;
    }
}

// The sequential reading of the rules, which classifyPlainScalar must reproduce in one pass.
std::string_view firstMatchingTag(std::string_view text) {
    for (const Recogniser& recogniser : recognisers) {
        if (recogniser.matches(text)) {
            return recogniser.tag;
        }
    }
    return TagName::str;
}

// Random texts near the interesting ones: a seed word edited a few times with characters the
// rule cares about, or a short string of such characters.
class TextGenerator {
public:
    TextGenerator(std::string alphabet, std::vector<std::string> seeds, unsigned seed)
        : alphabet_(std::move(alphabet)), seeds_(std::move(seeds)), random_(seed) {}

    std::string next() {
        if (pick(3) == 0) {
            std::string text;
            const std::size_t length = pick(9);
            for (std::size_t i = 0; i < length; ++i) {
                text += letter();
            }
            return text;
        }
        std::string text = seeds_[pick(seeds_.size())];
        for (std::size_t edits = pick(4); edits > 0; --edits) {
            edit(text);
        }
        return text;
    }

private:
    std::size_t pick(std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
    }
    char letter() { return alphabet_[pick(alphabet_.size())]; }

    void edit(std::string& text) {
        const std::size_t at = pick(text.size() + 1);
        switch (pick(4)) {
        case 0:
            text.insert(at, 1, letter());
            break;
        case 1:
            if (at < text.size()) {
                text[at] = letter();
            }
            break;
        case 2:
            if (at < text.size()) {
                text.erase(at, 1);
            }
            break;
        default:
            text.insert(at, text.substr(pick(text.size() + 1), pick(3)));
            break;
        }
    }

    std::string alphabet_;
    std::vector<std::string> seeds_;
    std::mt19937 random_;
};

std::vector<TextGenerator> generators() {
    return {
        TextGenerator("yesnotrufalYESNOTRUFAL", {"yes", "No", "TRUE", "false", "On", "OFF"}, 1),
        TextGenerator("0123456789_:+-bxoBXaAfF",
                      {"0", "0x1F", "0b10", "0o17", "017", "190:20:30", "-1_000", "1:59"}, 2),
        TextGenerator("0123456789_.:eE+-infINFaN",
                      {"1.5", ".5e+3", "1e3", "190:20:30.15", ".inf", "-.INF", ".NaN", "1_0.5"}, 3),
        TextGenerator("<=~nulNL", {"<<", "=", "~", "null", "NULL", ""}, 4),
        TextGenerator("0123456789-:.tTZ+ \t",
                      {"2001-12-14", "2001-1-1 1:02:03", "2001-12-14t21:59:43.10-05:00",
                       "2001-12-14 21:59:43.10 -5", "2001-12-14T21:59:43Z",
                       "2001-12-14 21:59:43 +05:30"},
                      5),
    };
}

TEST(ScalarMatchers, AgreeWithTheirExpressionsOnEdgeCases) {
    const auto rules = compiledRules();
    std::array<int, 7> accepted{};
    for (const std::string& text : curatedTexts()) {
        ASSERT_NO_FATAL_FAILURE(expectAgreement(rules, text, accepted));
    }
    for (std::size_t i = 0; i < accepted.size(); ++i) {
        EXPECT_GT(accepted[i], 0) << recognisers[i].tag << " never accepted a curated text";
    }
}

TEST(ScalarMatchers, AgreeWithTheirExpressionsOnRandomTexts) {
    const auto rules = compiledRules();
    std::array<int, 7> accepted{};
    int total = 0;
    for (TextGenerator& generator : generators()) {
        for (int i = 0; i < 6000; ++i) {
            ASSERT_NO_FATAL_FAILURE(expectAgreement(rules, generator.next(), accepted));
            ++total;
        }
    }
    // The texts must fall on both sides of every rule, or agreement would prove little.
    for (std::size_t i = 0; i < accepted.size(); ++i) {
        EXPECT_GT(accepted[i], 20) << recognisers[i].tag;
        EXPECT_LT(accepted[i], total / 2) << recognisers[i].tag;
    }
}

TEST(ScalarMatchers, OnePassClassificationEqualsTryingTheRulesInOrder) {
    for (const std::string& text : curatedTexts()) {
        ASSERT_EQ(classifyPlainScalar(text), firstMatchingTag(text)) << printable(text);
    }
    for (TextGenerator& generator : generators()) {
        for (int i = 0; i < 6000; ++i) {
            const std::string text = generator.next();
            ASSERT_EQ(classifyPlainScalar(text), firstMatchingTag(text)) << printable(text);
        }
    }
}

// Every capture group of the timestamp expression, as GLib reports it: absent when it took no
// part in the match.
std::vector<std::optional<std::string>> capturedGroups(GRegex* regex, std::string_view text) {
    GMatchInfo* rawInfo = nullptr;
    const bool matched =
        g_regex_match_full(regex, text.data(), static_cast<gssize>(text.size()), 0,
                           static_cast<GRegexMatchFlags>(0), &rawInfo, nullptr) != FALSE;
    const std::unique_ptr<GMatchInfo, void (*)(GMatchInfo*)> info(rawInfo, g_match_info_free);
    std::vector<std::optional<std::string>> groups;
    if (!matched) {
        return groups;
    }
    for (int group = 1; group <= 11; ++group) {
        int start = -1;
        int end = -1;
        g_match_info_fetch_pos(info.get(), group, &start, &end);
        groups.push_back(start < 0 ? std::nullopt
                                   : std::optional(std::string(
                                         text.substr(static_cast<std::size_t>(start),
                                                     static_cast<std::size_t>(end - start)))));
    }
    return groups;
}

std::vector<std::optional<std::string>> parsedGroups(std::string_view text) {
    const auto fields = parseTimestampFields(text);
    if (!fields) {
        return {};
    }
    const auto owned = [](std::optional<std::string_view> field) {
        return field ? std::optional(std::string(*field)) : std::nullopt;
    };
    return {std::string(fields->year), std::string(fields->month), std::string(fields->day),
            owned(fields->hour),       owned(fields->minute),      owned(fields->second),
            owned(fields->fraction),   owned(fields->zone),        owned(fields->zoneSign),
            owned(fields->zoneHours),  owned(fields->zoneMinutes)};
}

TEST(TimestampParser, FieldsEqualTheCaptureGroupsOfTheTimestampExpression) {
    const std::unique_ptr<GRegex, void (*)(GRegex*)> regex(
        g_regex_new(std::string(timestampPattern).c_str(), G_REGEX_DOLLAR_ENDONLY,
                    static_cast<GRegexMatchFlags>(0), nullptr),
        g_regex_unref);
    ASSERT_NE(regex, nullptr);
    int matched = 0;
    const auto check = [&](const std::string& text) {
        const auto expected = capturedGroups(regex.get(), text);
        ASSERT_EQ(parsedGroups(text), expected) << printable(text);
        matched += expected.empty() ? 0 : 1;
    };
    for (const std::string& text : curatedTexts()) {
        ASSERT_NO_FATAL_FAILURE(check(text));
    }
    TextGenerator generator = std::move(generators().back());
    for (int i = 0; i < 6000; ++i) {
        ASSERT_NO_FATAL_FAILURE(check(generator.next()));
    }
    EXPECT_GT(matched, 500);
}

} // namespace
} // namespace quessel::yaml

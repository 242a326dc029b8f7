// Implicit tag resolution: the standard rules on the texts users write, and custom rules.
#include "yaml/Resolver.hpp"
#include "yaml/TagName.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quessel::yaml {
namespace {

std::string_view resolved(std::string_view text) {
    return Resolver::standard().resolve(text);
}

TEST(Resolver, StandardRulesComeInTheirFixedOrder) {
    const auto& rules = Resolver::standard().rules();
    ASSERT_EQ(rules.size(), 7u);
    const std::string_view tags[] = {TagName::boolean, TagName::integer, TagName::floating,
                                     TagName::merge,   TagName::null,    TagName::timestamp,
                                     TagName::value};
    for (std::size_t i = 0; i < rules.size(); ++i) {
        EXPECT_EQ(rules[i].tag, tags[i]);
        EXPECT_EQ(rules[i].pattern.front(), '^');
        EXPECT_EQ(rules[i].pattern.back(), '$');
    }
    // The standard rules keep working when copied into a resolver of one's own.
    const Resolver copy(rules);
    EXPECT_EQ(copy.resolve("0x1F"), TagName::integer);
    EXPECT_EQ(copy.resolve("1.5"), TagName::floating);
    EXPECT_EQ(copy.resolve("abc"), TagName::str);
}

TEST(Resolver, BooleansAndNullsInTheirListedSpellingsOnly) {
    for (const char* text : {"yes", "No", "TRUE", "off", "On", "FALSE"}) {
        EXPECT_EQ(resolved(text), TagName::boolean) << text;
    }
    for (const char* text : {"~", "null", "Null", "NULL", ""}) {
        EXPECT_EQ(resolved(text), TagName::null) << text;
    }
    for (const char* text : {"yES", "Nil", "nULL", "y", "n", "True ", "none"}) {
        EXPECT_EQ(resolved(text), TagName::str) << text;
    }
}

TEST(Resolver, NumbersBySignRadixAndBase60) {
    for (const char* text : {"12", "012", "0o12", "0x_1F", "1_000", "9:30", "-0", "+0", "-0b11",
                             "190:20:30", "9223372036854775808"}) {
        EXPECT_EQ(resolved(text), TagName::integer) << text;
    }
    for (const char* text :
         {"08", "1.5", "1.", ".5", "1e3", "1_000.5", ".inf", "-.INF", ".NaN", "190:20:30.15"}) {
        EXPECT_EQ(resolved(text), TagName::floating) << text;
    }
    for (const char* text : {"09:30", "+.nan", "1:60", ".e5", "0x", "1e", "1,5", "1.5.5"}) {
        EXPECT_EQ(resolved(text), TagName::str) << text;
    }
}

TEST(Resolver, TimestampsMergeAndValueKeys) {
    EXPECT_EQ(resolved("2001-12-14"), TagName::timestamp);
    EXPECT_EQ(resolved("2001-12-14 21:59:43.10 -5"), TagName::timestamp);
    EXPECT_EQ(resolved("2001-1-1t1:00:00Z"), TagName::timestamp);
    EXPECT_EQ(resolved("2001-1-1"), TagName::str);
    EXPECT_EQ(resolved("<<"), TagName::merge);
    EXPECT_EQ(resolved("="), TagName::value);
    EXPECT_EQ(resolved("<<<"), TagName::str);
    EXPECT_EQ(resolved("=="), TagName::str);
}

TEST(Resolver, ATrailingLineBreakIsPartOfTheText) {
    // A plain scalar never ends in a line break; any other caller gets a literal reading.
    EXPECT_EQ(resolved("true\n"), TagName::str);
    EXPECT_EQ(resolved("\n"), TagName::str);
    const auto custom = Resolver::Rule::fromPattern("tag:x", "^(?:a|)$");
    EXPECT_TRUE(custom.matches("a"));
    EXPECT_TRUE(custom.matches(""));
    EXPECT_FALSE(custom.matches("a\n"));
    EXPECT_FALSE(custom.matches("\r\n"));
}

TEST(Resolver, CustomRulesAreTriedInOrderAndFallBackToText) {
    const Resolver resolver(
        {Resolver::Rule::fromPattern("tag:example.com,2024:colour", "^#[0-9a-f]{6}$"),
         Resolver::Rule::fromPattern("tag:example.com,2024:hex", "^#[0-9a-f]+$")});
    EXPECT_EQ(resolver.resolve("#00ff00"), "tag:example.com,2024:colour");
    EXPECT_EQ(resolver.resolve("#0f"), "tag:example.com,2024:hex");
    EXPECT_EQ(resolver.resolve("#00FF00"), TagName::str); // case-sensitive
    EXPECT_EQ(resolver.resolve("yes"), TagName::str);     // the standard rules are not included
    EXPECT_EQ(Resolver({}).resolve("12"), TagName::str);
}

TEST(Resolver, CustomExpressionsSearchTheWholeText) {
    const auto unanchored = Resolver::Rule::fromPattern("tag:x", "[0-9]+");
    EXPECT_TRUE(unanchored.matches("abc1"));
    EXPECT_FALSE(unanchored.matches("abc"));
    const auto anchored = Resolver::Rule::fromPattern("tag:x", "^[0-9]+$");
    EXPECT_FALSE(anchored.matches("abc1"));
    EXPECT_FALSE(anchored.matches("1\n2"));
    EXPECT_EQ(anchored.pattern, "^[0-9]+$");
}

TEST(Resolver, CustomExpressionsReadTextAsUnicodeAndSurviveBadBytes) {
    const auto rule = Resolver::Rule::fromPattern("tag:x", "^.$");
    EXPECT_TRUE(rule.matches("\xc3\xa9"));
    EXPECT_TRUE(rule.matches(std::string_view("\0", 1)));
    EXPECT_FALSE(rule.matches("\xff"));
    EXPECT_FALSE(rule.matches("\xc3"));
    EXPECT_FALSE(rule.matches(std::string_view()));
}

TEST(Resolver, ExpressionsThatDoNotCompileAreRefused) {
    EXPECT_THROW(Resolver::Rule::fromPattern("tag:x", "("), std::invalid_argument);
    EXPECT_THROW(Resolver::Rule::fromPattern("tag:x", "[a-"), std::invalid_argument);
    try {
        Resolver::Rule::fromPattern("tag:x", "a{2,1}");
        FAIL() << "a reversed repetition range compiled";
    } catch (const std::invalid_argument& error) {
        EXPECT_NE(std::string(error.what()).find("a{2,1}"), std::string::npos) << error.what();
    }
}

} // namespace
} // namespace quessel::yaml

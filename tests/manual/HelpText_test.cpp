// The --help text: columns, wrapping, and sections left out when a table has none.
#include "app/CommandLine.hpp"
#include "manual/HelpText.hpp"
#include "render/RenderManual.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace quessel::manual {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::size_t columnsOf(const std::string& line) {
    std::size_t count = 0;
    for (const char c : line) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

TEST(HelpText, ASmallTableInFull) {
    const CommandManual manual{
        .name = "tool",
        .summary = "unused here",
        .usage = {"[--size N] [FILE]", "--help"},
        .description = {"Does one thing.", "And another."},
        .options = {{"--size", "N", "how big"}, {"-h, --help", "", "show this help"}},
        .exitStatuses = {{"0", "done"}, {"2", "not understood"}},
        .environment = {},
        .files = {},
        .examples = {{"Make it big", "tool --size 9 a"}},
        .seeAlso = {"other(1)"},
    };
    EXPECT_EQ(helpText(manual), "Usage: tool [--size N] [FILE]\n"
                                "       tool --help\n"
                                "\n"
                                "Does one thing.\n"
                                "\n"
                                "And another.\n"
                                "\n"
                                "Options:\n"
                                "  --size N    how big\n"
                                "  -h, --help  show this help\n"
                                "\n"
                                "Exit status:\n"
                                "  0  done\n"
                                "  2  not understood\n"
                                "\n"
                                "Examples:\n"
                                "  Make it big:\n"
                                "    tool --size 9 a\n");
}

TEST(HelpText, DescriptionsWrapUnderTheirColumnBetweenWords) {
    const CommandManual manual{
        .name = "tool",
        .exitStatuses = {{"0", std::string(30, 'a') + ' ' + std::string(40, 'b') + ' ' +
                                   std::string(10, 'c') + " d"}}};
    const std::vector<std::string> lines = linesOf(helpText(manual));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "  0  " + std::string(30, 'a') + ' ' + std::string(40, 'b'));
    EXPECT_EQ(lines.back(), "     " + std::string(10, 'c') + " d");
}

TEST(HelpText, ATermTooWideForTheColumnPutsItsDescriptionBelow) {
    const CommandManual manual{
        .name = "tool",
        .options = {{"--x", "", "short"}, {"--a-very-long-option", "light|dark", "long"}}};
    const std::vector<std::string> lines = linesOf(helpText(manual));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], "  --x" + std::string(22, ' ') + "short");
    EXPECT_EQ(lines[3], "  --a-very-long-option light|dark");
    EXPECT_EQ(lines[4], std::string(27, ' ') + "long");
}

TEST(HelpText, ColumnsAreCountedInCharactersNotBytes) {
    // 80 columns with 'é', which is two bytes: counted in bytes, "word" would go to a line of its
    // own.
    const std::string accented = std::string(74, 'e') + "\xC3\xA9" + " word";
    const CommandManual manual{.name = "tool", .description = {accented}};
    const std::vector<std::string> lines = linesOf(helpText(manual));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], accented);
}

TEST(HelpText, UsageBreaksBetweenBracketedGroupsAndAlignsAfterTheName) {
    const CommandManual manual{.name = "program",
                               .usage = {"[--first VALUE] [--second VALUE] [--third a|b|c] "
                                         "[--fourth a b c d e] [FILE]"}};
    EXPECT_EQ(usageText(manual), "Usage: program [--first VALUE] [--second VALUE] [--third a|b|c]\n"
                                 "               [--fourth a b c d e] [FILE]\n");
}

TEST(HelpText, EveryLineOfBothProgramsFitsATerminal) {
    for (const CommandManual* manual : {&app::quesselManual(), &render::renderManual()}) {
        for (const std::string& line : linesOf(helpText(*manual))) {
            EXPECT_LE(columnsOf(line), helpWidth) << manual->name << ": " << line;
            EXPECT_FALSE(line.ends_with(' ')) << manual->name << ": " << line;
        }
    }
}

} // namespace
} // namespace quessel::manual

// The manual page in roff: text that prints as written, the conventions of a synopsis, and
// table text that can never become a request.
#include "manual/ManualPage.hpp"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace quessel::manual {
namespace {

TEST(RoffText, EscapesWhatRoffWouldReadOtherwise) {
    EXPECT_EQ(roffText("a\\b"), "a\\eb");
    EXPECT_EQ(roffText("--page=auto"), "\\-\\-page=auto");
    EXPECT_EQ(roffText("plain text, 'quoted' and \"double\""),
              "plain text, 'quoted' and \"double\"");
}

TEST(RoffText, KeepsEveryLineFromStartingARequest) {
    EXPECT_EQ(roffText(".SH NAME"), "\\&.SH NAME");
    EXPECT_EQ(roffText("'br"), "\\&'br");
    EXPECT_EQ(roffText("one\n.so /etc/passwd\n'two"), "one\n\\&.so /etc/passwd\n\\&'two");
    EXPECT_EQ(roffText("end. 'Not' a line start"), "end. 'Not' a line start");
}

TEST(RoffText, NamesCharactersOutsideAscii) {
    EXPECT_EQ(roffText("caf\xC3\xA9"), "caf\\[u00E9]");
    EXPECT_EQ(roffText("cut\xE2\x80\xA6"), "cut\\[u2026]");
    EXPECT_EQ(roffText("\xF0\x9F\x98\x80"), "\\[u1F600]");
}

const CommandManual sample{
    .name = "tool",
    .summary = "do one thing",
    .usage = {"[--size N] [--mode a|b] [FILE...]", "--help"},
    .description = {"First paragraph.", "Second\nparagraph."},
    .options = {{"-h, --help", "", "show this help"}, {"--mode", "a|b", "the mode"}},
    .exitStatuses = {{"0", "done"}},
    .environment = {{"TOOL_HOME", "where it lives"}},
    .files = {},
    .examples = {{"Make it big", "tool --size 9 a.yaml"}},
    .seeAlso = {"other(1)", "more(5)"},
};

TEST(ManualPage, WritesTheSectionsInTheirUsualOrderAndLeavesOutEmptyOnes) {
    const std::string page = manualPage(sample, "Tool 2.0", "2030-01-02");
    EXPECT_TRUE(page.starts_with(".\\\" ")) << page;
    EXPECT_NE(page.find("\n.TH \"TOOL\" \"1\" \"2030\\-01\\-02\" \"Tool 2.0\" \"User Commands\"\n"),
              std::string::npos);
    std::size_t previous = 0;
    for (const std::string_view section :
         {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "\"EXIT STATUS\"", "\"ENVIRONMENT\"",
          "EXAMPLES", "\"SEE ALSO\""}) {
        const std::size_t at = page.find(".SH " + std::string(section) + "\n");
        ASSERT_NE(at, std::string::npos) << section;
        EXPECT_GT(at, previous) << section;
        previous = at;
    }
    EXPECT_EQ(page.find("FILES"), std::string::npos);
    EXPECT_NE(page.find(".SH NAME\ntool \\- do one thing\n"), std::string::npos);
    EXPECT_NE(page.find("First paragraph.\n.PP\nSecond paragraph.\n"), std::string::npos);
    EXPECT_NE(page.find(".BR other (1),\n.BR more (5)\n"), std::string::npos);
}

TEST(ManualPage, TypesLiteralsInBoldAndPlaceholdersInItalics) {
    const std::string page = manualPage(sample, "Tool 2.0", "2030-01-02");
    EXPECT_NE(page.find(".SH SYNOPSIS\n"
                        "\\fBtool\\fR [\\fB\\-\\-size\\fR \\fIN\\fR] "
                        "[\\fB\\-\\-mode\\fR \\fBa\\fR|\\fBb\\fR] [\\fIFILE\\fR...]\n"
                        ".br\n"
                        "\\fBtool\\fR \\fB\\-\\-help\\fR\n"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find(".TP\n\\fB\\-h\\fR, \\fB\\-\\-help\\fR\nshow this help\n"),
              std::string::npos);
    EXPECT_NE(page.find(".TP\n\\fB\\-\\-mode\\fR \\fBa\\fR|\\fBb\\fR\nthe mode\n"),
              std::string::npos);
    EXPECT_NE(page.find(".TP\n\\fBTOOL_HOME\\fR\nwhere it lives\n"), std::string::npos);
    EXPECT_NE(page.find(".nf\ntool \\-\\-size 9 a.yaml\n.fi\n"), std::string::npos);
}

// Only the page's own requests start a line, whatever the table's text holds.
TEST(ManualPage, TableTextNeverBecomesARequest) {
    const std::string hostile = "\n.so /etc/passwd\n'sp 100\n.SH INJECTED";
    CommandManual manual = sample;
    manual.summary = hostile;
    manual.description = {hostile, " " + hostile};
    manual.options = {{"--x", "A|.b", hostile}};
    manual.exitStatuses = {{".1", hostile}};
    manual.files = {{"'file", hostile}};
    manual.examples = {{hostile, hostile}};
    const std::set<std::string> requests = {".\\\"", ".TH", ".SH", ".TP", ".PP", ".RS", ".RE",
                                            ".nf",   ".fi", ".br", ".BR", ".nh", ".ad"};
    std::istringstream page(manualPage(manual, "Tool", "today"));
    for (std::string line; std::getline(page, line);) {
        if (line.starts_with(".") || line.starts_with("'")) {
            EXPECT_TRUE(requests.contains(line.substr(0, line.find(' ')))) << line;
            EXPECT_EQ(line.find("INJECTED"), std::string::npos) << line;
        }
        EXPECT_FALSE(line.starts_with(" ")) << "a leading space breaks the line: " << line;
    }
}

} // namespace
} // namespace quessel::manual

// quessel's command line: what is answered before the application starts, and that the real
// program answers it without a display.
#include "app/CommandLine.hpp"
#include "tests/support/ProgramRun.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace quessel::app {
namespace {

CommandLineAction parse(std::vector<std::string_view> arguments) {
    return parseCommandLine(arguments);
}

TEST(CommandLine, FilesAndNothingRunTheApplication) {
    EXPECT_EQ(parse({}), CommandLineAction::run);
    EXPECT_EQ(parse({"a.yaml", "b.yml"}), CommandLineAction::run);
    EXPECT_EQ(parse({"-"}), CommandLineAction::run) << "a file named -, as GIO reads it";
}

TEST(CommandLine, HelpAndVersionAnywhereBeforeTheDoubleDash) {
    EXPECT_EQ(parse({"--help"}), CommandLineAction::help);
    EXPECT_EQ(parse({"a.yaml", "-h"}), CommandLineAction::help);
    EXPECT_EQ(parse({"--version"}), CommandLineAction::version);
    EXPECT_EQ(parse({"--version", "--help"}), CommandLineAction::help) << "the last one counts";
    EXPECT_EQ(parse({"--", "--help", "-x.yaml"}), CommandLineAction::run);
}

TEST(CommandLine, AnUnknownOptionIsAnErrorNamingIt) {
    for (const std::string_view option : {"-x", "--colour", "--help-all", "--version=2"}) {
        try {
            parse({"a.yaml", option});
            ADD_FAILURE() << option << " was taken";
        } catch (const CommandLineError& error) {
            EXPECT_EQ(error.what(), "unknown option '" + std::string(option) + "'");
        }
    }
}

// What answerCommandLine wrote to each stream, and its answer.
struct Answer {
    std::optional<int> status;
    std::string out;
    std::string err;
};

std::string contents(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, file)) {
        text.append(buffer, count);
    }
    return text;
}

Answer answer(std::vector<std::string_view> arguments) {
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> out(std::tmpfile(), &std::fclose);
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> err(std::tmpfile(), &std::fclose);
    const std::optional<int> status = answerCommandLine(arguments, out.get(), err.get());
    return {status, contents(out.get()), contents(err.get())};
}

TEST(CommandLine, TheApplicationRunsWithoutAWord) {
    const Answer run = answer({"a.yaml"});
    EXPECT_EQ(run.status, std::nullopt);
    EXPECT_TRUE(run.out.empty());
    EXPECT_TRUE(run.err.empty());
}

TEST(CommandLine, AnErrorGoesToStandardErrorWithTheUsageAndExitsTwo) {
    const Answer run = answer({"--colour"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(run.err, "quessel: unknown option '--colour'\n"
                       "Usage: quessel [FILE...]\n"
                       "       quessel --help | --version\n"
                       "Try 'quessel --help' for more.\n");
}

TEST(CommandLine, AnAnswerThatCannotBeWrittenExitsOne) {
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> full(std::fopen("/dev/full", "w"),
                                                                  &std::fclose);
    ASSERT_TRUE(full);
    EXPECT_EQ(answerCommandLine({"--help"}, full.get(), stderr), 1);
}

// The real program, with no display and no session bus to reach.
testing::ProgramRun runQuessel(const char* argument) {
    return testing::runProgram({QUESSEL_EXECUTABLE, argument},
                               {.environment = {{"DISPLAY", std::nullopt},
                                                {"WAYLAND_DISPLAY", std::nullopt},
                                                {"DBUS_SESSION_BUS_ADDRESS", std::nullopt}}});
}

TEST(QuesselProgram, AnswersVersionAndHelpWithoutADisplay) {
    const testing::ProgramRun version = runQuessel("--version");
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, "quessel " QUESSEL_PROJECT_VERSION "\n");
    const testing::ProgramRun help = runQuessel("--help");
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_TRUE(help.out.starts_with("Usage: quessel [FILE...]\n")) << help.out;
    EXPECT_TRUE(help.err.empty()) << help.err;
}

TEST(QuesselProgram, RefusesAnUnknownOptionWithoutADisplay) {
    const testing::ProgramRun run = runQuessel("--colour");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_TRUE(run.err.starts_with("quessel: unknown option '--colour'\n")) << run.err;
}

} // namespace
} // namespace quessel::app

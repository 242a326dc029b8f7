// quessel-render as a program: arguments, exit statuses, messages, and every test document.
#include "tests/support/ProgramRun.hpp"
#include "tests/support/TestDocuments.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quessel::render::test {
namespace {

namespace fs = std::filesystem;
using quessel::testing::corpusDocuments;
using quessel::testing::suiteDocuments;

using quessel::testing::ProgramInput;
using ToolRun = quessel::testing::ProgramRun;

ToolRun runTool(const std::vector<std::string>& arguments, std::string_view input = {},
                const decltype(ProgramInput::environment)& environment = {}) {
    std::vector<std::string> command{QUESSEL_RENDER_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return quessel::testing::runProgram(
        command, {.standardInput = std::string(input), .environment = environment});
}

// A file in a fresh temporary directory, removed with it.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string_view contents) {
        char pattern[] = "/tmp/quessel-render-test-XXXXXX";
        directory_ = mkdtemp(pattern);
        path_ = directory_ / "document.yaml";
        std::ofstream(path_, std::ios::binary) << contents;
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() { fs::remove_all(directory_); }

    std::string path() const { return path_.string(); }
    std::string directory() const { return directory_.string(); }

private:
    fs::path directory_;
    fs::path path_;
};

bool isCompletePage(const std::string& page) {
    return page.starts_with("<!DOCTYPE html>\n") && page.ends_with("</body>\n</html>");
}

void expectOneLineOnStandardError(const ToolRun& run, std::string_view mentions) {
    EXPECT_TRUE(run.out.empty());
    EXPECT_TRUE(run.err.starts_with("quessel-render: ")) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(mentions), std::string::npos) << run.err;
}

TEST(RenderTool, WritesThePageOfAFile) {
    const TemporaryFile file("name: value\n");
    const ToolRun run = runTool({file.path()});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(isCompletePage(run.out));
    EXPECT_NE(run.out.find(R"(<span class="key">name</span>: )"), std::string::npos);
    EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST(RenderTool, ReadsStandardInputWithADashOrWithoutAFile) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"-"}, {}}) {
        const ToolRun run = runTool(arguments, "- from standard input\n");
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("from standard input"), std::string::npos);
    }
}

TEST(RenderTool, DefaultsToLightAndFourteenPixels) {
    const ToolRun run = runTool({}, "a: 1");
    EXPECT_NE(run.out.find("--bg-color: #ffffff;"), std::string::npos);
    EXPECT_NE(run.out.find("monospace; font-size: 14px;"), std::string::npos);
}

TEST(RenderTool, TakesAppearanceAndFontSizeInEitherForm) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--appearance", "dark", "--font-size", "20"},
          {"--appearance=dark", "--font-size=20", "-"}}) {
        const ToolRun run = runTool(arguments, "a: 1");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("--bg-color: #1e1e1e;"), std::string::npos);
        EXPECT_NE(run.out.find("monospace; font-size: 20px;"), std::string::npos);
    }
}

bool isVirtualPage(const std::string& page) {
    return page.find(R"(id="virtual-content")") != std::string::npos;
}

TEST(RenderTool, WritesTheMarkupPageUnlessAskedForAnother) {
    std::string large;
    for (int line = 0; line < 1001; ++line) {
        large += "- element\n";
    }
    EXPECT_FALSE(isVirtualPage(runTool({}, large).out));
    EXPECT_FALSE(isVirtualPage(runTool({"--page", "markup"}, large).out));
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--page", "virtual"}, {"--page=virtual", "-"}}) {
        const ToolRun run = runTool(arguments, "- a\n- b\n");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(isCompletePage(run.out));
        EXPECT_TRUE(isVirtualPage(run.out));
    }
    const ToolRun small = runTool({"--page=auto"}, "- a\n- b\n");
    EXPECT_EQ(small.status, 0) << small.err;
    EXPECT_FALSE(isVirtualPage(small.out));
    const ToolRun above = runTool({"--page", "auto"}, large);
    EXPECT_EQ(above.status, 0) << above.err;
    EXPECT_TRUE(isCompletePage(above.out));
    EXPECT_TRUE(isVirtualPage(above.out));
}

TEST(RenderTool, InvalidYamlStillGivesAPageAndSucceeds) {
    const ToolRun run = runTool({}, "a: [1, 2\nb: c\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(isCompletePage(run.out));
    EXPECT_NE(run.out.find(R"(<div class="error-banner">Syntax error on line )"),
              std::string::npos);
    EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST(RenderTool, AMissingFileOrADirectoryFailsWithOneLine) {
    const TemporaryFile file("");
    const ToolRun missing = runTool({file.directory() + "/absent.yaml"});
    EXPECT_EQ(missing.status, 1);
    expectOneLineOnStandardError(missing, "No such file or directory");
    const ToolRun directory = runTool({file.directory()});
    EXPECT_EQ(directory.status, 1);
    expectOneLineOnStandardError(directory, "Is a directory");
}

TEST(RenderTool, TextThatIsNotUtf8FailsWithOneLine) {
    const TemporaryFile file("key: caf\xE9\n"); // Latin-1
    const ToolRun run = runTool({file.path()});
    EXPECT_EQ(run.status, 1);
    expectOneLineOnStandardError(run, "not UTF-8 text (invalid byte at offset 8)");
    EXPECT_EQ(runTool({}, "\xC0\xAF").status, 1) << "an overlong form";
    EXPECT_EQ(runTool({}, "\xED\xA0\x80").status, 1) << "a surrogate";
}

TEST(RenderTool, AReplacementCharacterInTheTextIsValid) {
    const ToolRun run = runTool({}, "a: \xEF\xBF\xBD\n");
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST(RenderTool, AnOutputThatCannotBeWrittenFailsWithOneLine) {
    const ToolRun run = quessel::testing::runProgram(
        {QUESSEL_RENDER_PATH, "-"}, {.standardInput = "a: 1\n", .standardOutputFile = "/dev/full"});
    EXPECT_EQ(run.status, 1);
    expectOneLineOnStandardError(run, "cannot write the page: No space left on device");
}

TEST(RenderTool, BadArgumentsExitTwoWithTheUsage) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--colour"},
                                                      {"--appearance", "blue"},
                                                      {"--appearance"},
                                                      {"--font-size", "big"},
                                                      {"--font-size", "7"},
                                                      {"--font-size", "49"},
                                                      {"--font-size=14px"},
                                                      {"--page", "virtualised"},
                                                      {"--page", "Markup"},
                                                      {"--page="},
                                                      {"--page"},
                                                      {"a.yaml", "b.yaml"},
                                                      {""}}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 2) << arguments.front();
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(run.err.starts_with("quessel-render: ")) << run.err;
        EXPECT_NE(run.err.find("Usage: quessel-render [--appearance light|dark]"),
                  std::string::npos);
    }
}

TEST(RenderTool, HelpAndVersionGoToStandardOutput) {
    const ToolRun help = runTool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: quessel-render")) << help.out;
    EXPECT_NE(help.out.find("--font-size N"), std::string::npos);
    EXPECT_NE(help.out.find("--page markup|virtual|auto"), std::string::npos);
    const ToolRun version = runTool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "quessel-render " QUESSEL_PROJECT_VERSION "\n");
}

TEST(RenderTool, TheEncodingNoticeGoesToStandardErrorNotIntoThePage) {
    const ToolRun run = runTool({}, "a: 1\n", {{"YAML_DEFAULT_ENCODING", "UTF16"}});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(isCompletePage(run.out)) << run.out.substr(0, 200);
    EXPECT_EQ(run.err, "`Parser.Encoding.default` was set to `utf16` by the "
                       "`YAML_DEFAULT_ENCODING` environment variable.\n");
}

TEST(RenderTool, AFileNamedLikeAnOptionFollowsTheDoubleDash) {
    const TemporaryFile file("x: 1\n");
    const fs::path odd = fs::path(file.directory()) / "--odd.yaml";
    fs::copy_file(file.path(), odd);
    const ToolRun run = runTool({"--", odd.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(isCompletePage(run.out));
}

// Every document renders to a complete page, with a banner or without one, and exit 0.
void expectEveryDocumentRenders(const std::vector<fs::path>& documents, std::size_t atLeast) {
    ASSERT_GE(documents.size(), atLeast);
    for (const fs::path& document : documents) {
        const ToolRun run = runTool({document.string()});
        EXPECT_EQ(run.status, 0) << document << ": " << run.err;
        EXPECT_TRUE(isCompletePage(run.out)) << document;
    }
}

TEST(RenderToolDocuments, EveryYamlTestSuiteCaseRenders) {
    expectEveryDocumentRenders(suiteDocuments(), 400);
}

TEST(RenderToolDocuments, EveryCorpusDocumentRenders) {
    expectEveryDocumentRenders(corpusDocuments(), 780);
}

} // namespace
} // namespace quessel::render::test

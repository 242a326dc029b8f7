// The default input encoding: YAML_DEFAULT_ENCODING read once per process, with the notice line
// when it selects an encoding, and the setting every later load uses.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/Parser.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace quessel::yaml {
namespace {

// Standard output of the probe run with `environment` prepended to its command line.
std::string runProbe(const std::string& environment) {
    const std::string command =
        "env -u YAML_DEFAULT_ENCODING " + environment + " " + QUESSEL_ENCODING_PROBE;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string output;
    std::array<char, 256> buffer{};
    while (const std::size_t read = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) {
        output.append(buffer.data(), read);
    }
    return output;
}

TEST(Encoding, EnvironmentSelectsUtf16InAnyCaseWithOneNotice) {
    EXPECT_EQ(runProbe("YAML_DEFAULT_ENCODING=UTF16"),
              "`Parser.Encoding.default` was set to `utf16` by the `YAML_DEFAULT_ENCODING` "
              "environment variable.\nutf16 utf16\n");
    EXPECT_EQ(runProbe("YAML_DEFAULT_ENCODING=utf8"),
              "`Parser.Encoding.default` was set to `utf8` by the `YAML_DEFAULT_ENCODING` "
              "environment variable.\nutf8 utf8\n");
}

TEST(Encoding, OtherValuesAndNoVariableLeaveUtf8Silently) {
    EXPECT_EQ(runProbe("YAML_DEFAULT_ENCODING=latin1"), "utf8 utf8\n");
    EXPECT_EQ(runProbe("YAML_DEFAULT_ENCODING="), "utf8 utf8\n");
    EXPECT_EQ(runProbe(""), "utf8 utf8\n");
}

TEST(Encoding, EnvironmentValuesAreReadCaseInsensitively) {
    EXPECT_EQ(Parser::encodingFromEnvironment("Utf16"), Parser::Encoding::utf16);
    EXPECT_EQ(Parser::encodingFromEnvironment("UTF8"), Parser::Encoding::utf8);
    EXPECT_EQ(Parser::encodingFromEnvironment("utf-8"), std::nullopt);
    EXPECT_EQ(Parser::encodingFromEnvironment(" utf8"), std::nullopt);
    EXPECT_EQ(Parser::encodingFromEnvironment(nullptr), std::nullopt);
}

TEST(Encoding, TheDefaultCanBeReplacedAndLoadsFollowIt) {
    const Parser::Encoding original = Parser::defaultEncoding();
    Parser::setDefaultEncoding(Parser::Encoding::utf16);
    EXPECT_EQ(Parser::defaultEncoding(), Parser::Encoding::utf16);
    const std::string text = "k\xC3\xA9y: \xF0\x9F\x98\x80\x07";
    Parser parser("a: 1");
    EXPECT_EQ(parser.encoding(), Parser::Encoding::utf16);
    const std::string underUtf16 = testing::describe(text, Parser::defaultEncoding());
    Parser::setDefaultEncoding(original);
    EXPECT_EQ(underUtf16, testing::describe(text, Parser::Encoding::utf8));
}

} // namespace
} // namespace quessel::yaml

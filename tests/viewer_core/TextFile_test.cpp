// Reading documents: every byte kept, UTF-8 enforced, clear messages for files that cannot be read.
#include "TestEnvironment.hpp"
#include "viewer_core/FileError.hpp"
#include "viewer_core/TextFile.hpp"

#include <glib.h>
#include <gmock/gmock.h>

#include <sys/stat.h>

namespace quessel::core {
namespace {

using ::testing::HasSubstr;
using testing::readFile;
using ::testing::StartsWith;
using testing::writeFile;
using TextFileTest = testing::CoreTest;

std::string failureOf(const std::string& path) {
    try {
        readTextFile(path);
    } catch (const FileError& error) {
        return error.what();
    }
    return "(no failure)";
}

TEST_F(TextFileTest, KeepsEveryByteIncludingNul) {
    const std::string text("key: \"a\0b\"\n\xC3\xA9\n", 13);
    writeFile(path("nul.yaml"), text);
    const LoadedText loaded = readTextFile(path("nul.yaml"));
    EXPECT_EQ(loaded.text, text);
    EXPECT_EQ(loaded.identity, FileIdentity::ofPath(path("nul.yaml")));
}

TEST_F(TextFileTest, ReadsEmptyAndLargeFiles) {
    writeFile(path("empty.yaml"), "");
    EXPECT_EQ(readTextFile(path("empty.yaml")).text, "");
    const std::string large(3 * 1024 * 1024 + 17, 'x');
    writeFile(path("large.yaml"), large);
    EXPECT_EQ(readTextFile(path("large.yaml")).text, large);
}

TEST_F(TextFileTest, InvalidUtf8IsRefusedWithItsPosition) {
    writeFile(path("latin1.yaml"), "name: caf\xE9\n");
    EXPECT_EQ(failureOf(path("latin1.yaml")),
              "The file \u201C" + path("latin1.yaml") +
                  "\u201D is not valid UTF-8 text (invalid byte at offset 9).");
    // A sequence cut off by the end of the file is invalid too.
    writeFile(path("cut.yaml"), "a: \xE2\x82");
    EXPECT_THAT(failureOf(path("cut.yaml")), HasSubstr("not valid UTF-8"));
    // Bytes after a NUL are checked too, and the offset counts from the start of the file.
    writeFile(path("after-nul.yaml"), std::string("a\0b\xFF", 4));
    EXPECT_THAT(failureOf(path("after-nul.yaml")), HasSubstr("invalid byte at offset 3"));
}

TEST_F(TextFileTest, MissingFileGivesTheSystemMessage) {
    EXPECT_EQ(failureOf(path("missing.yaml")), "Failed to open file \u201C" + path("missing.yaml") +
                                                   "\u201D: No such file or directory");
}

TEST_F(TextFileTest, FoldersAndPipesAreNotRead) {
    EXPECT_THAT(failureOf(root()), HasSubstr("Is a directory"));
    ASSERT_EQ(::mkfifo(path("pipe.yaml").c_str(), 0600), 0);
    EXPECT_THAT(failureOf(path("pipe.yaml")), HasSubstr("not a regular file"));
}

TEST_F(TextFileTest, NonUtf8FileNamesAreShownReadably) {
    const std::string name = path("caf\xE9.yaml");
    EXPECT_THAT(failureOf(name), StartsWith("Failed to open file \u201C" + root() + "/caf"));
    EXPECT_TRUE(g_utf8_validate(failureOf(name).c_str(), -1, nullptr));
}

TEST_F(TextFileTest, ErrorDescriptionNamesTheSystemError) {
    try {
        readTextFile(path("missing.yaml"));
        FAIL();
    } catch (const FileError& error) {
        EXPECT_EQ(error.errnum(), ENOENT);
        EXPECT_EQ(error.description(), std::string(error.what()) + " (ENOENT)");
    }
}

} // namespace
} // namespace quessel::core

// Saving: all-or-nothing replacement that keeps permissions, owner and links, and cleans up.
#include "TestEnvironment.hpp"
#include "viewer_core/AtomicFile.hpp"
#include "viewer_core/FileError.hpp"

#include <gmock/gmock.h>

#include <sys/stat.h>
#include <unistd.h>

namespace quessel::core {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::readFile;
using testing::writeFile;
using AtomicFileTest = testing::CoreTest;

std::string failureOf(const std::string& path, const std::string& contents) {
    try {
        writeFileAtomically(path, contents);
    } catch (const FileError& error) {
        return error.what();
    }
    return "(no failure)";
}

mode_t currentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

TEST_F(AtomicFileTest, ReplacesContentsAndReportsTheNewIdentity) {
    writeFile(path("doc.yaml"), "old: 1\n");
    const auto before = FileIdentity::ofPath(path("doc.yaml"));
    const FileIdentity written = writeFileAtomically(path("doc.yaml"), "new: 2\n");
    EXPECT_EQ(readFile(path("doc.yaml")), "new: 2\n");
    EXPECT_EQ(FileIdentity::ofPath(path("doc.yaml")), written);
    EXPECT_NE(before, written);
    EXPECT_THAT(testing::folderEntries(root()), ElementsAre("doc.yaml"));
}

TEST_F(AtomicFileTest, NewFileGetsTheUmaskDefault) {
    writeFileAtomically(path("new.yaml"), "a: 1\n");
    EXPECT_EQ(testing::permissionBits(path("new.yaml")), 0666u & ~currentUmask());
}

TEST_F(AtomicFileTest, KeepsPermissionBitsIncludingSpecialOnes) {
    writeFile(path("private.yaml"), "a: 1\n");
    ASSERT_EQ(::chmod(path("private.yaml").c_str(), 0640), 0);
    writeFileAtomically(path("private.yaml"), "a: 2\n");
    EXPECT_EQ(testing::permissionBits(path("private.yaml")), 0640u);

    writeFile(path("script.yaml"), "a: 1\n");
    ASSERT_EQ(::chmod(path("script.yaml").c_str(), 02755), 0);
    writeFileAtomically(path("script.yaml"), "a: 2\n");
    EXPECT_EQ(testing::permissionBits(path("script.yaml")), 02755u);
}

TEST_F(AtomicFileTest, KeepsOwnerAndGroupWherePermitted) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another owner needs root";
    }
    writeFile(path("owned.yaml"), "a: 1\n");
    ASSERT_EQ(::chown(path("owned.yaml").c_str(), 1234, 5678), 0);
    writeFileAtomically(path("owned.yaml"), "a: 2\n");
    struct stat status {};
    ASSERT_EQ(::stat(path("owned.yaml").c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 1234u);
    EXPECT_EQ(status.st_gid, 5678u);
}

TEST_F(AtomicFileTest, WritesThroughChainsOfRelativeLinks) {
    ASSERT_EQ(::mkdir(path("real").c_str(), 0755), 0);
    writeFile(path("real/doc.yaml"), "a: 1\n");
    ASSERT_EQ(::symlink("real/doc.yaml", path("first.yaml").c_str()), 0);
    ASSERT_EQ(::symlink("first.yaml", path("second.yaml").c_str()), 0);

    writeFileAtomically(path("second.yaml"), "a: 2\n");
    EXPECT_EQ(readFile(path("real/doc.yaml")), "a: 2\n");
    char target[256] = {};
    ASSERT_GT(::readlink(path("second.yaml").c_str(), target, sizeof target - 1), 0);
    EXPECT_STREQ(target, "first.yaml");
    EXPECT_THAT(testing::folderEntries(path("real")), ElementsAre("doc.yaml"));
    EXPECT_EQ(resolveLinkTarget(path("second.yaml")), root() + "/real/doc.yaml");
}

TEST_F(AtomicFileTest, DanglingLinkCreatesItsTarget) {
    ASSERT_EQ(::symlink("made.yaml", path("link.yaml").c_str()), 0);
    writeFileAtomically(path("link.yaml"), "a: 1\n");
    EXPECT_EQ(readFile(path("made.yaml")), "a: 1\n");
    EXPECT_EQ(resolveLinkTarget(path("link.yaml")), path("made.yaml"));
}

TEST_F(AtomicFileTest, LinkLoopIsAnError) {
    ASSERT_EQ(::symlink("b.yaml", path("a.yaml").c_str()), 0);
    ASSERT_EQ(::symlink("a.yaml", path("b.yaml").c_str()), 0);
    EXPECT_THAT(failureOf(path("a.yaml"), "x"), HasSubstr("Too many levels of symbolic links"));
}

// A regular file where the folder should be: no privilege gets past that.
TEST_F(AtomicFileTest, UnusableFolderFailsWithoutLeavingAnything) {
    writeFile(path("folder"), "not a folder");
    EXPECT_EQ(failureOf(path("folder/doc.yaml"), "a: 1\n"),
              "Failed to get attributes of file \u201C" + path("folder/doc.yaml") +
                  "\u201D: Not a directory");
    EXPECT_EQ(readFile(path("folder")), "not a folder");
    EXPECT_THAT(testing::folderEntries(root()), ElementsAre("folder"));
}

TEST_F(AtomicFileTest, FolderAndDeviceTargetsAreNotReplaced) {
    ASSERT_EQ(::mkdir(path("dir.yaml").c_str(), 0755), 0);
    EXPECT_THAT(failureOf(path("dir.yaml"), "x"), HasSubstr("Is a directory"));
    ASSERT_EQ(::mkfifo(path("pipe.yaml").c_str(), 0600), 0);
    EXPECT_THAT(failureOf(path("pipe.yaml"), "x"), HasSubstr("not a regular file"));
    EXPECT_THAT(testing::folderEntries(root()), ElementsAre("dir.yaml", "pipe.yaml"));
}

// The file-size limit binds root too: the write fails half-way, after the temporary file was
// made, which is the case a crash or a full disk produces.
TEST_F(AtomicFileTest, FailedWriteRemovesTheTemporaryFileAndKeepsTheOriginal) {
    writeFile(path("doc.yaml"), "original: true\n");
    std::string failure;
    {
        const testing::FileSizeLimit limit(4096);
        failure = failureOf(path("doc.yaml"), std::string(64 * 1024, 'x'));
    }

    EXPECT_EQ(failure, "Failed to write file \u201C" + path("doc.yaml") + "\u201D: File too large");
    EXPECT_EQ(readFile(path("doc.yaml")), "original: true\n");
    EXPECT_THAT(testing::folderEntries(root()), ElementsAre("doc.yaml"));
}

} // namespace
} // namespace quessel::core

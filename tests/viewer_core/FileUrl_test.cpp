// File URLs: one URI text per path, local files only, names readable as text.
#include "viewer_core/FileUrl.hpp"

#include <glib.h>
#include <gtest/gtest.h>

namespace quessel::core {
namespace {

TEST(FileUrl, PathsBecomeAbsoluteAndLexicallyClean) {
    const auto url = FileUrl::fromPath("/tmp//a/./b/../doc.yaml");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->path(), "/tmp/a/doc.yaml");
    EXPECT_EQ(url->uri(), "file:///tmp/a/doc.yaml");
    char* current = g_get_current_dir();
    EXPECT_EQ(FileUrl::fromPath("doc.yaml")->path(), std::string(current) + "/doc.yaml");
    g_free(current);
    EXPECT_EQ(FileUrl::fromPath(""), std::nullopt);
    EXPECT_EQ(FileUrl::fromPath(std::string("/a\0b", 4)), std::nullopt);
}

TEST(FileUrl, UrisAreEscapedAndParsedBack) {
    const auto url = FileUrl::fromPath("/tmp/caf\u00E9 #1%.yaml");
    EXPECT_EQ(url->uri(), "file:///tmp/caf%C3%A9%20%231%25.yaml");
    EXPECT_EQ(FileUrl::fromUri(url->uri()), url);
    // Another spelling of the same URI gives the same URL text.
    EXPECT_EQ(FileUrl::fromUri("file://localhost/tmp/caf%c3%a9%20%231%25.yaml"), url);
}

TEST(FileUrl, OnlyLocalFileUrisAreAccepted) {
    EXPECT_EQ(FileUrl::fromUri("https://example.org/a.yaml"), std::nullopt);
    EXPECT_EQ(FileUrl::fromUri("file://server/share/a.yaml"), std::nullopt);
    EXPECT_EQ(FileUrl::fromUri("/tmp/a.yaml"), std::nullopt);
    EXPECT_EQ(FileUrl::fromUri(""), std::nullopt);
}

TEST(FileUrl, EqualityIsByUriText) {
    EXPECT_EQ(FileUrl::fromPath("/tmp/a.yaml"), FileUrl::fromPath("/tmp/./a.yaml"));
    EXPECT_NE(FileUrl::fromPath("/tmp/a.yaml"), FileUrl::fromPath("/tmp/A.yaml"));
}

TEST(FileUrl, LastComponentAsStoredAndAsText) {
    const auto url = FileUrl::fromPath("/tmp/caf\xE9.yaml");
    EXPECT_EQ(url->lastPathComponent(), "caf\xE9.yaml");
    EXPECT_TRUE(g_utf8_validate(url->displayName().c_str(), -1, nullptr));
    EXPECT_EQ(FileUrl::fromPath("/tmp/plain.yaml")->displayName(), "plain.yaml");
    EXPECT_EQ(FileUrl::fromPath("/")->lastPathComponent(), "/");
}

} // namespace
} // namespace quessel::core

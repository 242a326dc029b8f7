// The recent-files list: order, de-duplication, the bound, and what the store holds across runs.
#include "TestEnvironment.hpp"
#include "viewer_core/Bookmark.hpp"
#include "viewer_core/DefaultsValue.hpp"
#include "viewer_core/RecentFiles.hpp"
#include "viewer_core/ViewerAppState.hpp"

#include <gmock/gmock.h>

#include <unistd.h>

namespace quessel::core {
namespace {

using ::testing::ElementsAre;

constexpr const char* key = "recentFiles";

class RecentFilesTest : public testing::CoreTest {
protected:
    // A file that exists, so that its bookmark resolves.
    FileUrl file(const std::string& name) {
        testing::writeFile(path(name), "a: 1\n");
        return *FileUrl::fromPath(path(name));
    }
    std::vector<std::string> names(const std::vector<FileUrl>& urls) const {
        std::vector<std::string> result;
        for (const auto& url : urls) {
            result.push_back(url.lastPathComponent());
        }
        return result;
    }
    std::string stored() const { return printValue(*UserDefaults::standard()->object(key)); }
};

TEST_F(RecentFilesTest, OpeningMovesTheFileToTheFrontWithoutDuplicates) {
    ViewerAppState state(key, 5);
    for (const char* name : {"a.yaml", "b.yaml", "c.yaml"}) {
        state.openFile(file(name));
    }
    EXPECT_THAT(names(state.recentFiles()), ElementsAre("c.yaml", "b.yaml", "a.yaml"));
    state.openFile(file("a.yaml"));
    EXPECT_THAT(names(state.recentFiles()), ElementsAre("a.yaml", "c.yaml", "b.yaml"));
    state.openFile(file("a.yaml"));
    EXPECT_THAT(names(state.recentFiles()), ElementsAre("a.yaml", "c.yaml", "b.yaml"));
}

TEST_F(RecentFilesTest, TheSixthFileDropsTheOldestAndFiveAreStored) {
    ViewerAppState state(key, 5);
    for (const char* name : {"1.yaml", "2.yaml", "3.yaml", "4.yaml", "5.yaml", "6.yaml"}) {
        state.openFile(file(name));
    }
    EXPECT_THAT(names(state.recentFiles()),
                ElementsAre("6.yaml", "5.yaml", "4.yaml", "3.yaml", "2.yaml"));
    const auto value = UserDefaults::standard()->object(key);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->get_type_string(), "aay");
    EXPECT_EQ(g_variant_n_children(const_cast<GVariant*>(value->gobj())), 5u);
}

TEST_F(RecentFilesTest, ListSurvivesARestartInOrder) {
    {
        ViewerAppState state(key, 5);
        state.openFile(file("first.yaml"));
        state.openFile(file("second.yaml"));
    }
    const ViewerAppState restarted(key, 5);
    EXPECT_THAT(names(restarted.recentFiles()), ElementsAre("second.yaml", "first.yaml"));
}

TEST_F(RecentFilesTest, AnAdditionNotifiesUpToThreeTimes) {
    ViewerAppState state(key, 1);
    state.openFile(file("a.yaml"));
    int notifications = 0;
    state.signalWillChange().connect([&] { ++notifications; });
    state.addToRecentFiles(file("b.yaml"));
    EXPECT_EQ(notifications, 3);
    EXPECT_THAT(names(state.recentFiles()), ElementsAre("b.yaml"));
}

TEST_F(RecentFilesTest, ClearingStoresAnEmptyArrayThatStaysEmpty) {
    {
        ViewerAppState state(key, 5);
        state.openFile(file("a.yaml"));
        state.clearRecentFiles();
        EXPECT_TRUE(state.recentFiles().empty());
    }
    EXPECT_EQ(stored(), "@aay []");
    EXPECT_TRUE(ViewerAppState(key, 5).recentFiles().empty());
}

TEST_F(RecentFilesTest, ForeignStoredValuesGiveAnEmptyListAndAreNotRepaired) {
    for (const char* foreign : {"['/a.yaml', '/b.yaml']", "'text'", "42", "[<b'x'>, <'y'>]"}) {
        UserDefaults::standard()->set(key, parseValue(foreign));
        const auto before = stored();
        const ViewerAppState state(key, 5);
        EXPECT_TRUE(state.recentFiles().empty()) << foreign;
        EXPECT_EQ(stored(), before) << foreign;
    }
    // The first open replaces the foreign value with an array of one blob.
    ViewerAppState state(key, 5);
    state.openFile(file("a.yaml"));
    EXPECT_EQ(stored(), "[b'" + bookmarkData(*FileUrl::fromPath(path("a.yaml"))) + "']");
}

TEST_F(RecentFilesTest, BlobsWrappedInVariantsAreAccepted) {
    const auto url = file("a.yaml");
    UserDefaults::standard()->set(key, parseValue("[<b'" + url.uri() + "'>]"));
    EXPECT_THAT(names(ViewerAppState(key, 5).recentFiles()), ElementsAre("a.yaml"));
}

TEST_F(RecentFilesTest, AStoredListLongerThanTheBoundLoadsWholeUntilTheNextAddition) {
    std::vector<FileUrl> many;
    for (const char* name : {"1.yaml", "2.yaml", "3.yaml", "4.yaml"}) {
        many.push_back(file(name));
    }
    saveRecentFiles(*UserDefaults::standard(), key, many);
    ViewerAppState state(key, 2);
    EXPECT_EQ(state.recentFiles().size(), 4u);
    state.openFile(file("5.yaml"));
    EXPECT_THAT(names(state.recentFiles()), ElementsAre("5.yaml", "1.yaml"));
}

TEST_F(RecentFilesTest, VanishedFilesAreDroppedKeepingTheOrderOfTheRest) {
    const std::vector<FileUrl> files{file("1.yaml"), file("2.yaml"), file("3.yaml")};
    saveRecentFiles(*UserDefaults::standard(), key, files);
    ASSERT_EQ(::unlink(path("2.yaml").c_str()), 0);
    const ViewerAppState state(key, 5);
    EXPECT_THAT(names(state.recentFiles()), ElementsAre("1.yaml", "3.yaml"));
    // The stored list is not written back by loading.
    EXPECT_EQ(loadRecentFiles(*UserDefaults::standard(), key).size(), 2u);
    EXPECT_EQ(
        g_variant_n_children(const_cast<GVariant*>(UserDefaults::standard()->object(key)->gobj())),
        3u);
}

TEST_F(RecentFilesTest, DifferentPathsToOneFileAreDifferentEntries) {
    const auto real = file("real.yaml");
    ASSERT_EQ(::symlink("real.yaml", path("link.yaml").c_str()), 0);
    ViewerAppState state(key, 5);
    state.openFile(real);
    state.openFile(*FileUrl::fromPath(path("link.yaml")));
    EXPECT_THAT(names(state.recentFiles()), ElementsAre("link.yaml", "real.yaml"));
}

TEST_F(RecentFilesTest, BookmarksAreFileUrisThatResolveOnlyWhileTheFileExists) {
    const auto url = file("caf\u00E9 #1.yaml");
    EXPECT_EQ(bookmarkData(url), "file://" + root() + "/caf%C3%A9%20%231.yaml");
    EXPECT_EQ(resolveBookmark(bookmarkData(url)), url);
    EXPECT_EQ(resolveBookmark("https://example.org/a.yaml"), std::nullopt);
    EXPECT_EQ(resolveBookmark("file://elsewhere" + url.path()), std::nullopt);
    EXPECT_EQ(resolveBookmark(""), std::nullopt);
    ASSERT_EQ(::unlink(url.path().c_str()), 0);
    EXPECT_EQ(resolveBookmark(bookmarkData(url)), std::nullopt);
}

} // namespace
} // namespace quessel::core

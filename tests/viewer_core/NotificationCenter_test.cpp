// The notification centre: delivery by name, in order, on the main thread, ended by the token.
#include "TestEnvironment.hpp"
#include "viewer_core/NotificationCenter.hpp"

#include <gmock/gmock.h>

#include <thread>

namespace quessel::core {
namespace {

using ::testing::ElementsAre;

TEST(NotificationCenter, SearchNamesAreTheirLiteralTexts) {
    EXPECT_EQ(viewerSearchQueryChanged, "viewerSearchQueryChanged");
    EXPECT_EQ(viewerFindNext, "viewerFindNext");
    EXPECT_EQ(viewerFindPrevious, "viewerFindPrevious");
}

TEST(NotificationCenter, DeliversToObserversOfTheNameInOrderWithTheObject) {
    NotificationCenter center;
    std::vector<std::string> calls;
    auto first = center.addObserver(viewerSearchQueryChanged, [&](const Notification& note) {
        calls.push_back("first:" + std::any_cast<std::string>(note.object));
    });
    auto other =
        center.addObserver(viewerFindNext, [&](const Notification&) { calls.push_back("next"); });
    auto second = center.addObserver(viewerSearchQueryChanged, [&](const Notification& note) {
        calls.push_back("second:" + note.name);
    });
    center.post(viewerSearchQueryChanged, std::string("needle"));
    EXPECT_THAT(calls, ElementsAre("first:needle", "second:viewerSearchQueryChanged"));

    calls.clear();
    center.post(viewerFindNext);
    center.post(viewerFindPrevious);
    EXPECT_THAT(calls, ElementsAre("next"));
}

TEST(NotificationCenter, DestroyedOrResetTokensEndDelivery) {
    NotificationCenter center;
    int calls = 0;
    {
        auto token = center.addObserver("name", [&](const Notification&) { ++calls; });
        center.post("name");
    }
    center.post("name");
    auto token = center.addObserver("name", [&](const Notification&) { ++calls; });
    auto moved = std::move(token);
    EXPECT_FALSE(token);
    center.post("name");
    moved.reset();
    center.post("name");
    EXPECT_EQ(calls, 2);
}

// An observer that removes a later one during a post: the later one is not called any more.
TEST(NotificationCenter, ObserverRemovedDuringAPostIsSkipped) {
    NotificationCenter center;
    ObserverToken second;
    int secondCalls = 0;
    auto first = center.addObserver("name", [&](const Notification&) { second.reset(); });
    second = center.addObserver("name", [&](const Notification&) { ++secondCalls; });
    center.post("name");
    EXPECT_EQ(secondCalls, 0);
}

TEST(NotificationCenter, ObserversMayPostAndObserveFromTheirHandler) {
    NotificationCenter center;
    std::vector<std::string> calls;
    ObserverToken late;
    auto chain = center.addObserver("a", [&](const Notification&) {
        calls.push_back("a");
        late = center.addObserver("b", [&](const Notification&) { calls.push_back("b"); });
        center.post("b");
    });
    center.post("a");
    EXPECT_THAT(calls, ElementsAre("a", "b"));
}

TEST(NotificationCenter, PostsFromOtherThreadsArriveOnTheMainThread) {
    NotificationCenter center;
    std::vector<bool> onMainThread;
    auto token = center.addObserver(viewerFindPrevious, [&](const Notification& note) {
        onMainThread.push_back(NotificationCenter::isMainThread());
        EXPECT_FALSE(note.object.has_value());
    });
    std::thread poster([&] { center.post(viewerFindPrevious); });
    poster.join();
    // Queued until the main loop turns, never delivered on the posting thread.
    EXPECT_TRUE(onMainThread.empty());
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return !onMainThread.empty(); }));
    EXPECT_THAT(onMainThread, ElementsAre(true));
}

TEST(NotificationCenter, TokenMayOutliveItsCentreAndQueuedPostsAreDropped) {
    ObserverToken token;
    int calls = 0;
    {
        NotificationCenter center;
        token = center.addObserver("name", [&](const Notification&) { ++calls; });
        std::thread poster([&] { center.post("name"); });
        poster.join();
    }
    testing::runMainLoopFor(std::chrono::milliseconds(20));
    token.reset();
    EXPECT_EQ(calls, 0);
}

TEST(NotificationCenter, DefaultCentreIsOneObject) {
    EXPECT_EQ(&NotificationCenter::defaultCenter(), &NotificationCenter::defaultCenter());
    EXPECT_TRUE(NotificationCenter::isMainThread());
}

} // namespace
} // namespace quessel::core

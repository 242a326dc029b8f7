// Pages made on worker threads: delivered on the main thread, newest only, dropped when cancelled.
#include "app/web/BackgroundPageBuilder.hpp"
#include "tests/app/Gate.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace quessel::app::web {
namespace {

using page::Appearance;
using page::GeneratedPage;

using quessel::testing::drainPending;
using quessel::testing::Gate;
using quessel::testing::GateOpener;
using quessel::testing::runUntil;

auto text(const char* content) {
    return std::make_shared<const std::string>(content);
}

// Waits until every worker in the process has ended, then runs what they left for the main loop.
bool workersDone() {
    const bool done = runUntil([] { return runningWorkers() == 0; });
    drainPending();
    return done;
}

// Pages the builder delivered, with the thread each arrived on.
struct Deliveries {
    std::vector<std::string> pages;
    std::vector<std::thread::id> threads;
    BackgroundPageBuilder::Delivery delivery() {
        return [this](GeneratedPage page) {
            pages.push_back(std::move(page.html));
            threads.push_back(std::this_thread::get_id());
        };
    }
};

// A page source that writes its arguments into the page, and waits at the gate for any text
// holding "slow".
BackgroundPageBuilder::PageSource echo(std::shared_ptr<Gate> gate = nullptr) {
    return [gate](std::string_view content, int fontSize, Appearance appearance) {
        if (gate && content.find("slow") != std::string_view::npos) {
            gate->pass();
        }
        return GeneratedPage{std::string(content) + "|" + std::to_string(fontSize) + "|" +
                                 (appearance == Appearance::dark ? "dark" : "light"),
                             std::nullopt, 0};
    };
}

TEST(BackgroundPageBuilder, MakesPagesOnAWorkerAndDeliversThemOnTheMainThread) {
    std::mutex mutex;
    std::vector<std::thread::id> makers;
    Deliveries deliveries;
    BackgroundPageBuilder builder(
        [&](std::string_view content, int fontSize, Appearance appearance) {
            const std::lock_guard lock(mutex);
            makers.push_back(std::this_thread::get_id());
            return echo()(content, fontSize, appearance);
        },
        deliveries.delivery());
    builder.request(text("a: 1"), 17, Appearance::dark);
    EXPECT_TRUE(builder.pending());
    EXPECT_TRUE(deliveries.pages.empty()) << "delivered within the request";
    ASSERT_TRUE(runUntil([&] { return !deliveries.pages.empty(); }));
    EXPECT_FALSE(builder.pending());
    EXPECT_EQ(deliveries.pages, std::vector<std::string>{"a: 1|17|dark"});
    EXPECT_EQ(deliveries.threads.front(), std::this_thread::get_id());
    const std::lock_guard lock(mutex);
    ASSERT_EQ(makers.size(), 1u);
    EXPECT_NE(makers.front(), std::this_thread::get_id()) << "made on the main thread";
}

TEST(BackgroundPageBuilder, DeliversOnlyTheNewestRequest) {
    auto gate = Gate::create();
    const GateOpener opener(gate);
    Deliveries deliveries;
    BackgroundPageBuilder builder(echo(gate), deliveries.delivery());
    builder.request(text("slow first"), 14, Appearance::light);
    ASSERT_TRUE(runUntil([&] { return gate->arrivals() == 1; }));
    builder.request(text("second"), 14, Appearance::light);
    ASSERT_TRUE(runUntil([&] { return !deliveries.pages.empty(); }));
    gate->open();
    ASSERT_TRUE(workersDone());
    EXPECT_EQ(deliveries.pages, std::vector<std::string>{"second|14|light"})
        << "the overtaken page arrived after all";
    EXPECT_FALSE(builder.pending());
}

TEST(BackgroundPageBuilder, RequestsOverwrittenBeforeTheirPageArrivesAreNeverDelivered) {
    Deliveries deliveries;
    BackgroundPageBuilder builder(echo(), deliveries.delivery());
    for (int size = 10; size < 20; ++size) {
        builder.request(text("a"), size, Appearance::light);
    }
    ASSERT_TRUE(workersDone());
    EXPECT_EQ(deliveries.pages, std::vector<std::string>{"a|19|light"});
}

TEST(BackgroundPageBuilder, CancellingOrEndingDropsTheWorkUnderWay) {
    auto gate = Gate::create();
    const GateOpener opener(gate);
    Deliveries deliveries;
    BackgroundPageBuilder kept(echo(gate), deliveries.delivery());
    kept.request(text("slow cancelled"), 14, Appearance::light);
    auto ended = std::make_unique<BackgroundPageBuilder>(echo(gate), deliveries.delivery());
    ended->request(text("slow ended"), 14, Appearance::light);
    ASSERT_TRUE(runUntil([&] { return gate->arrivals() == 2; }));
    kept.cancel();
    EXPECT_FALSE(kept.pending());
    // Returns while its worker still waits at the gate.
    ended.reset();
    gate->open();
    ASSERT_TRUE(workersDone());
    EXPECT_TRUE(deliveries.pages.empty());
    kept.request(text("after"), 14, Appearance::light);
    ASSERT_TRUE(runUntil([&] { return !deliveries.pages.empty(); }));
    EXPECT_EQ(deliveries.pages, std::vector<std::string>{"after|14|light"});
}

TEST(BackgroundPageBuilder, ASourceThatThrowsGivesABlankPageAndNoCrash) {
    Deliveries deliveries;
    BackgroundPageBuilder builder(
        [](std::string_view, int, Appearance) -> GeneratedPage {
            throw std::runtime_error("no page");
        },
        deliveries.delivery());
    builder.request(text("a"), 14, Appearance::light);
    ASSERT_TRUE(runUntil([&] { return !deliveries.pages.empty(); }));
    EXPECT_EQ(deliveries.pages, std::vector<std::string>{""});
}

} // namespace
} // namespace quessel::app::web

// The memory a load's value took is kept for the next load: a second load of a large document,
// on a worker thread as the viewer runs them, writes into pages already mapped.
#include "tests/yaml/LoadSupport.hpp"

#include <gtest/gtest.h>

#include <string>
#include <sys/resource.h>
#include <thread>

namespace quessel::yaml {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitizedAllocator = true;
#else
constexpr bool sanitizedAllocator = false;
#endif

// Minor page faults: each is a page of fresh memory the thread touched.
long faultsOfThisThread() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt;
}

std::string records(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        text += "- {name: record-" + n + ", title: a title long enough for the heap " + n +
                ", tags: [alpha, bravo, charlie], size: " + n + "}\n";
    }
    return text;
}

TEST(HeapRetention, ALoadAfterAnotherReusesTheMemoryItsValueWasIn) {
    if (sanitizedAllocator) {
        GTEST_SKIP() << "the sanitizer's allocator keeps memory by rules of its own";
    }
    const std::string text = records(40'000);
    long first = 0;
    long second = 0;
    std::thread([&] {
        long before = faultsOfThisThread();
        std::optional<YamlValue> value = testing::loaded(text);
        first = faultsOfThisThread() - before;
        ASSERT_EQ(value->as<Sequence>().size(), 40'000U);
        value.reset();
        before = faultsOfThisThread();
        value = testing::loaded(text);
        second = faultsOfThisThread() - before;
        EXPECT_EQ(value->as<Sequence>().back().as<Mapping>().size(), 4U);
    }).join();
    EXPECT_GT(first, 1000) << "the first load should have needed fresh memory";
    EXPECT_LT(second * 10, first) << "the second load faulted in " << second << " pages";
}

} // namespace
} // namespace quessel::yaml

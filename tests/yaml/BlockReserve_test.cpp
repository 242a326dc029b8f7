// The block reserve: blocks given back are handed out again, up to the reserve's capacity, and
// the node trees of loads go back to the shared reserve.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/BlockReserve.hpp"

#include <gtest/gtest.h>

namespace quessel::yaml {
namespace {

TEST(BlockReserve, KeepsBlocksGivenBackUpToItsCapacity) {
    BlockReserve reserve(2 * BlockReserve::blockSize);
    std::unique_ptr<std::byte[]> first = reserve.take();
    std::byte* const kept = first.get();
    reserve.give(std::move(first));
    EXPECT_EQ(reserve.take().get(), kept);
    for (int i = 0; i < 3; ++i) {
        reserve.give(std::make_unique<std::byte[]>(BlockReserve::blockSize));
    }
    EXPECT_EQ(reserve.keptBytes(), 2 * BlockReserve::blockSize);
}

TEST(BlockReserve, ALargeNodeTreeGoesBackToTheSharedReserveForTheNextLoad) {
    std::string text = "[1";
    for (int i = 0; i < 100'000; ++i) {
        text += ",1";
    }
    text += "]";
    const std::size_t before = BlockReserve::shared().keptBytes();
    EXPECT_EQ(testing::loaded(text).as<Sequence>().size(), 100'001U);
    const std::size_t after = BlockReserve::shared().keptBytes();
    EXPECT_GT(after, before);
    testing::loaded(text);
    EXPECT_EQ(BlockReserve::shared().keptBytes(), after) << "the second load took what it gave";
}

} // namespace
} // namespace quessel::yaml

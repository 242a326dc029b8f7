// A page's data cut into the parts the page fetches at once.
#include "app/web/PageDataParts.hpp"

#include <gtest/gtest.h>

#include <string>

namespace quessel::app::web {
namespace {

bool continuesCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Two-, three- and four-byte characters throughout, so that cuts fall inside them.
std::string dataOf(std::size_t size) {
    std::string data;
    for (int i = 0; data.size() < size; ++i) {
        data +=
            "k" + std::to_string(i) + ": Σ€😀ab" + std::string(static_cast<std::size_t>(i % 7), 'x');
    }
    return data.substr(0, size - size % 64);
}

TEST(PageDataParts, LargeDataIsCutIntoAtMostEightPartsOfWholeCharacters) {
    std::string data = dataOf(12 * pageDataPartSize);
    while (continuesCharacter(data.back())) {
        data.pop_back();
    }
    const std::vector<std::size_t> ends = pageDataPartEnds(data);
    ASSERT_EQ(ends.size(), pageDataMaxParts);
    std::size_t begin = 0;
    for (std::size_t i = 0; i < ends.size(); ++i) {
        ASSERT_GT(ends[i], begin) << "part " << i;
        EXPECT_GE(ends[i] - begin, pageDataPartSize) << "part " << i;
        if (ends[i] < data.size()) {
            EXPECT_FALSE(continuesCharacter(data[ends[i]])) << "part " << i << " cuts a character";
        }
        begin = ends[i];
    }
    EXPECT_EQ(ends.back(), data.size());
}

TEST(PageDataParts, DataOfAFewPartsLengthGetsFewerPartsOfAtLeastThePartSize) {
    const std::string data = dataOf(3 * pageDataPartSize + pageDataPartSize / 2);
    const std::vector<std::size_t> ends = pageDataPartEnds(data);
    ASSERT_EQ(ends.size(), 3U);
    EXPECT_GE(ends[0], pageDataPartSize);
    EXPECT_EQ(ends.back(), data.size());
}

TEST(PageDataParts, SmallOrEmptyDataIsOnePart) {
    EXPECT_EQ(pageDataPartEnds("{}"), std::vector<std::size_t>{2});
    EXPECT_EQ(pageDataPartEnds(""), std::vector<std::size_t>{0});
}

} // namespace
} // namespace quessel::app::web

// A virtualised page split into a small page and its data: what the window loads and serves.
#include "app/page/DetachedPage.hpp"
#include "app/page/PageGenerator.hpp"

#include <gtest/gtest.h>

namespace quessel::app {
namespace {

const std::string address = "quessel-page://data/7";
const std::string emptyElement =
    R"(<script type="application/json" id="page-data" data-src="quessel-page://data/7"></script>)";

std::string virtualPage(std::string_view yaml) {
    return PageGenerator({}, PageKind::virtualised).generateHTML(yaml, 14);
}

// The page the split was made from: the data put back into the element that names it.
std::string rejoined(const DetachedPage& page) {
    std::string html = page.html;
    const std::size_t at = html.find(emptyElement);
    EXPECT_NE(at, std::string::npos);
    html.replace(at, emptyElement.size(),
                 std::string(pageDataStart) + page.data.value_or("") + std::string(pageDataEnd));
    return html;
}

void expectSplitWhole(const std::string& original) {
    const DetachedPage page = detachPageData(original, address);
    ASSERT_TRUE(page.data.has_value());
    EXPECT_EQ(page.dataAddress, address);
    EXPECT_TRUE(page.data->starts_with("{\"M\":\"")) << page.data->substr(0, 20);
    EXPECT_TRUE(page.data->ends_with("}"));
    EXPECT_EQ(page.data->find('<'), std::string::npos);
    EXPECT_EQ(rejoined(page), original);
    // Exactly one data element is left, and it is empty.
    EXPECT_EQ(page.html.find(pageDataStart), std::string::npos);
    EXPECT_EQ(page.html.find("id=\"page-data\""), page.html.rfind("id=\"page-data\""));
}

TEST(DetachedPage, ATreePageLeavesItsDataAndNamesWhereToFetchIt) {
    std::string yaml;
    for (int i = 0; i < 3000; ++i) {
        yaml += "key" + std::to_string(i) + ": a value of some length\n";
    }
    const std::string original = virtualPage(yaml);
    expectSplitWhole(original);
    const DetachedPage page = detachPageData(original, address);
    EXPECT_LT(page.html.size(), 80'000U) << "the page is the frame and the scripts";
    EXPECT_GT(page.data->size(), yaml.size());
}

TEST(DetachedPage, TheBannerAndTheListingOfAnInvalidDocumentStayInThePage) {
    // Text that looks like the data element, in the listing and in the error message.
    const std::string yaml = std::string(pageDataStart) + "\nkey: [\n" + std::string(pageDataEnd);
    const std::string original = virtualPage(yaml);
    ASSERT_NE(original.find("class=\"error-banner\""), std::string::npos);
    expectSplitWhole(original);
    const DetachedPage page = detachPageData(original, address);
    EXPECT_LT(page.html.find("class=\"error-banner\""), page.html.find(emptyElement));
    EXPECT_NE(page.data->find("\"L\":1"), std::string::npos) << "the listing is data";
    EXPECT_NE(page.data->find("\\u003cscript"), std::string::npos);
}

TEST(DetachedPage, ADocumentHoldingNulSplitsWhole) {
    const std::string original = virtualPage("a: \"x\\0y\"\nb: 1\n");
    expectSplitWhole(original);
    EXPECT_NE(detachPageData(original, address).data->find("xy"), std::string::npos)
        << "the text after the NUL is in the data";
    const std::string withNul("bad: [\0\n", 8);
    expectSplitWhole(virtualPage(withNul));
}

TEST(DetachedPage, PagesWithoutTheDataElementComeBackWhole) {
    const std::string markup =
        PageGenerator({}, PageKind::markup).generateHTML("a: 1\nb: [1, 2]\n", 14);
    for (const std::string& page :
         {markup, std::string(), std::string(pageDataStart) + "{\"M\":\"\"}",
          std::string(pageDataStart) + "{}<b>not the end</b>"}) {
        const DetachedPage detached = detachPageData(page, address);
        EXPECT_EQ(detached.html, page);
        EXPECT_FALSE(detached.data.has_value());
        EXPECT_TRUE(detached.dataAddress.empty());
    }
}

TEST(DetachedPage, TheAddressIsWrittenAsAnAttributeValue) {
    const DetachedPage page =
        detachPageData(std::string(pageDataStart) + "{}" + std::string(pageDataEnd), "a\"b><c");
    EXPECT_EQ(
        page.html,
        R"(<script type="application/json" id="page-data" data-src="a&quot;b&gt;&lt;c"></script>)");
    EXPECT_EQ(page.data, "{}");
    EXPECT_EQ(page.dataAddress, "a\"b><c");
}

} // namespace
} // namespace quessel::app

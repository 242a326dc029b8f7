// A virtualised page split into a small page and its data: what the window loads and serves.
#include "page/DetachedPage.hpp"
#include "page/PageGenerator.hpp"

#include <gtest/gtest.h>

namespace quessel::page {
namespace {

const std::string address = "quessel-page://data/7";
const std::string emptyElement =
    R"(<script type="application/json" id="page-data" data-src="quessel-page://data/7/0"></script>)";

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
    ASSERT_EQ(page.parts.size(), 1U);
    EXPECT_EQ(page.parts[0].address, address + "/0");
    EXPECT_EQ(page.parts[0].end, page.data->size());
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
        EXPECT_TRUE(detached.parts.empty());
    }
}

TEST(DetachedPage, TheAddressIsWrittenAsAnAttributeValue) {
    const DetachedPage page =
        detachPageData(std::string(pageDataStart) + "{}" + std::string(pageDataEnd), "a\"b><c");
    EXPECT_EQ(
        page.html,
        R"(<script type="application/json" id="page-data" data-src="a&quot;b&gt;&lt;c/0"></script>)");
    EXPECT_EQ(page.data, "{}");
    ASSERT_EQ(page.parts.size(), 1U);
    EXPECT_EQ(page.parts[0].address, "a\"b><c/0");
}

// Whole UTF-8: no byte of a character continues past its part's end.
bool wholeCharacters(std::string_view part) {
    const auto continues = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    return !part.empty() && !continues(part.front());
}

TEST(DetachedPage, LargeDataIsCutIntoPartsOfWholeCharactersNamedInOrder) {
    // Two-, three- and four-byte characters throughout, so that cuts fall inside them.
    std::string yaml;
    for (int i = 0; yaml.size() < 12 * pageDataPartSize; ++i) {
        yaml += "k" + std::to_string(i) + ": Σ€😀ab" + std::string(i % 7, 'x') + "\n";
    }
    const std::string original = virtualPage(yaml);
    const DetachedPage page = detachPageData(original, address);
    ASSERT_TRUE(page.data.has_value());
    ASSERT_EQ(page.parts.size(), pageDataMaxParts);
    std::string addresses;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < page.parts.size(); ++i) {
        const PageDataPart& part = page.parts[i];
        EXPECT_EQ(part.address, address + "/" + std::to_string(i));
        addresses += (i == 0 ? "" : " ") + part.address;
        ASSERT_GT(part.end, begin);
        const std::string_view text = std::string_view(*page.data).substr(begin, part.end - begin);
        EXPECT_TRUE(wholeCharacters(text)) << "part " << i;
        EXPECT_GE(text.size(), pageDataPartSize);
        begin = part.end;
    }
    EXPECT_EQ(begin, page.data->size());
    EXPECT_NE(page.html.find(R"(id="page-data" data-src=")" + addresses + "\"></script>"),
              std::string::npos);
    // Data of a few parts' length gets fewer parts, each still of at least the part size.
    const std::string shorter = yaml.substr(0, yaml.rfind('\n', 5 * pageDataPartSize / 2) + 1);
    const DetachedPage few = detachPageData(virtualPage(shorter), address);
    ASSERT_GE(few.data->size(), 3 * pageDataPartSize);
    ASSERT_LT(few.data->size(), 4 * pageDataPartSize);
    EXPECT_EQ(few.parts.size(), 3U);
}

} // namespace
} // namespace quessel::page

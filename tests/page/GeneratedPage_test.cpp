// A generated page and its data apart: inside the page for a file that works anywhere, or named
// by address for the window to serve.
#include "page/GeneratedPage.hpp"
#include "page/PageGenerator.hpp"

#include <gtest/gtest.h>

namespace quessel::page {
namespace {

const std::string dataStart = R"(<script type="application/json" id="page-data">)";

GeneratedPage virtualPage(std::string_view yaml) {
    return PageGenerator({}, PageKind::virtualised).generate(yaml, 14);
}

std::string manyLines(int count = 3000) {
    std::string yaml;
    for (int i = 0; i < count; ++i) {
        yaml += "key" + std::to_string(i) + ": a value of some length\n";
    }
    return yaml;
}

// The page's one data element, whose text starts where the page says.
void expectEmptyDataElement(const GeneratedPage& page) {
    ASSERT_TRUE(page.data.has_value());
    const std::size_t element = page.html.find(dataStart);
    ASSERT_NE(element, std::string::npos);
    EXPECT_EQ(page.html.find(dataStart, element + 1), std::string::npos);
    EXPECT_EQ(page.dataAt, element + dataStart.size());
    EXPECT_EQ(page.html.compare(page.dataAt, 9, "</script>"), 0);
}

TEST(GeneratedPage, ATreePageKeepsItsDataApartAndInlinedHoldsItInItsElement) {
    const std::string yaml = manyLines();
    GeneratedPage page = virtualPage(yaml);
    expectEmptyDataElement(page);
    EXPECT_EQ(page.html, virtualPage(manyLines(6000)).html)
        << "the page is the frame and the scripts, whatever the document";
    EXPECT_GT(page.data->size(), yaml.size());
    EXPECT_TRUE(page.data->starts_with(R"({"markers":")")) << page.data->substr(0, 20);
    EXPECT_EQ(page.data->find('<'), std::string::npos);
    const std::string html = page.html;
    const std::string data = *page.data;
    EXPECT_EQ(std::move(page).inlined(), html.substr(0, html.find(dataStart) + dataStart.size()) +
                                             data +
                                             html.substr(html.find(dataStart) + dataStart.size()));
}

TEST(GeneratedPage, TheBannerAndTheListingOfAnInvalidDocumentAreTheirsNotTheElements) {
    // Text that looks like the data element, in the listing and in the error message.
    const std::string yaml = dataStart + "\nkey: [\n</script>";
    const GeneratedPage page = virtualPage(yaml);
    expectEmptyDataElement(page);
    ASSERT_NE(page.html.find("class=\"error-banner\""), std::string::npos);
    EXPECT_LT(page.html.find("class=\"error-banner\""), page.dataAt);
    EXPECT_NE(page.data->find(R"("listing":true)"), std::string::npos);
    EXPECT_NE(page.data->find("\\u003cscript"), std::string::npos);
}

TEST(GeneratedPage, PagesWithoutDataAreTheirHtml) {
    GeneratedPage markup = PageGenerator({}, PageKind::markup).generate("a: 1\nb: [1, 2]\n", 14);
    EXPECT_FALSE(markup.data.has_value());
    const std::string html = markup.html;
    EXPECT_EQ(markup.fetching({"x"}), html) << "no element to name addresses in";
    EXPECT_EQ(std::move(markup).inlined(), html);
    // The same for a virtualised page of a document without rows.
    EXPECT_FALSE(virtualPage("just a scalar").data.has_value());
}

TEST(GeneratedPage, FetchingNamesTheAddressesInOrderInTheElement) {
    const GeneratedPage page = virtualPage(manyLines());
    const std::string html = page.fetching({"quessel-page://data/7/0", "quessel-page://data/7/1"});
    EXPECT_NE(html.find(dataStart +
                        R"({"parts":["quessel-page://data/7/0","quessel-page://data/7/1"]})"
                        "</script>"),
              std::string::npos);
    // Nothing in an address can end the string or the element.
    EXPECT_NE(page.fetching({"a\"b</script>\\\n"})
                  .find(R"({"parts":["a\u0022b\u003c/script>\u005c\u000a"]})"),
              std::string::npos);
}

} // namespace
} // namespace quessel::page

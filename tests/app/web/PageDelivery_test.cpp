// The window's virtualised pages take their data through the page scheme: rows and search as the
// page with its data inline, each page only its own data, hostile documents still inert.
#include "page/PageGenerator.hpp"
#include "tests/app/PageProbe.hpp"
#include "tests/app/WindowFixture.hpp"
#include "tests/support/MainLoop.hpp"

#include <string>
#include <vector>

namespace quessel::app::web {
namespace {

using page::Appearance;
using page::PageGenerator;
using page::PageKind;

using quessel::testing::evaluate;
using quessel::testing::runUntil;

// The resources the page loaded through the engine's own loader (none: the page's data is
// fetched, and nothing else may load).
constexpr const char* loadedResources = "performance.getEntriesByType('resource').length";

// Lines of mixed text, including the two code points that do not lower-case one to one.
std::string manyLines(int lines) {
    const std::vector<std::string> values = {"alpha beta", "\"ALPHA\"", "İstanbul", "ΣΊΣΥΦΟΣ",
                                             "12.5",       "true",      "~",        "[]"};
    std::string text = "top:\n";
    for (int line = 0; line < lines; ++line) {
        text += "  key" + std::to_string(line) + ": " + values[line % values.size()] + "\n";
    }
    return text;
}

class PageDelivery : public quessel::testing::WindowFixture {
protected:
    PageWebView& view() { return content().renderedView().pageView(); }

    bool showsRows() {
        return pageHas("document.querySelectorAll('#virtual-content .line').length > 0");
    }

    // The search bar's total for each text, as the window receives it from the page.
    std::vector<int> totals(const std::vector<std::string>& texts) {
        appState->setShowSearch(true);
        settle();
        std::vector<int> result;
        for (const std::string& text : texts) {
            constexpr int unanswered = -12345;
            content().setTotalMatches(unanswered);
            content().searchBar().setSearchText(text);
            EXPECT_TRUE(runUntil([&] { return content().totalMatches() != unanswered; })) << text;
            result.push_back(content().totalMatches());
        }
        content().searchBar().setSearchText("");
        return result;
    }

    // The address of the page's data, as the page asked for it.
    std::string ownAddress() {
        const std::string address = view().lastDataRequest();
        EXPECT_TRUE(address.starts_with(PageWebView::dataAddressPrefix)) << address;
        return address;
    }
};

TEST_F(PageDelivery, ManyLinesArriveThroughThePageSchemeAndSearchAsTheMarkupPage) {
    const std::string document = manyLines(1500);
    const std::vector<std::string> texts = {"alpha", "key1", "i̇", "σ", "ς", "\u25BC", "top", "zz"};
    openDocument("large.yaml", document);
    ASSERT_TRUE(showsRows());
    EXPECT_EQ(view().dataRequestsAnswered(), 1);
    EXPECT_EQ(view().dataRequestsRefused(), 0);
    ownAddress();
    EXPECT_EQ(evaluate(page(), loadedResources), "0");
    // Beside its program, the page is the frame and the rows in view: the data came apart.
    EXPECT_TRUE(pageHas("document.getElementById('page-data') === null && "
                        "document.documentElement.outerHTML.length - [...document.scripts]"
                        ".reduce((n, s) => n + s.text.length, 0) < 100000"))
        << "the page came without its data";
    const std::vector<int> fetched = totals(texts);
    EXPECT_EQ(fetched[0], 376);

    replaceWindow([](std::string_view text, int fontSize, Appearance appearance) {
        return PageGenerator([appearance] { return appearance; }, PageKind::markup)
            .generate(text, fontSize);
    });
    openDocument("large.yaml", document);
    EXPECT_EQ(evaluate(page(), "document.getElementById('virtual-content')"), "null");
    EXPECT_EQ(totals(texts), fetched);
    EXPECT_EQ(view().dataRequestsAnswered(), 0);
}

TEST_F(PageDelivery, LargeDataComesInPartsEachAnsweredOnce) {
    openDocument("larger.yaml", manyLines(80000));
    ASSERT_TRUE(showsRows());
    EXPECT_GE(view().dataRequestsAnswered(), 2);
    EXPECT_EQ(view().dataRequestsRefused(), 0);
    const std::string last = ownAddress();
    EXPECT_TRUE(last.ends_with("/" + std::to_string(view().dataRequestsAnswered() - 1))) << last;
    EXPECT_EQ(totals({"alpha", "key79999"}), (std::vector<int>{20000, 1}));
}

TEST_F(PageDelivery, PagesOfAThousandLinesOrFewerStayWholeAndFetchNothing) {
    openDocument("small.yaml", manyLines(999)); // and "top": 1,000 lines
    EXPECT_TRUE(pageHas("document.querySelectorAll('.line').length === 1000"));
    EXPECT_EQ(evaluate(page(), "document.getElementById('virtual-content')"), "null");
    quessel::testing::runFor(std::chrono::milliseconds(200));
    EXPECT_EQ(evaluate(page(), loadedResources), "0");
    EXPECT_EQ(view().dataRequestsAnswered() + view().dataRequestsRefused(), 0);
}

TEST_F(PageDelivery, APageGetsItsOwnDataOnceAndNoOtherPagesData) {
    openDocument("first.yaml", manyLines(1200));
    ASSERT_TRUE(showsRows());
    const std::string first = ownAddress();
    openDocument("second.yaml", "other:\n" + manyLines(1300));
    ASSERT_TRUE(showsRows());
    const std::string second = ownAddress();
    EXPECT_NE(first, second);
    EXPECT_EQ(view().dataRequestsAnswered(), 2);
    const std::string next =
        PageWebView::dataAddressPrefix +
        std::to_string(
            std::stoi(second.substr(std::string(PageWebView::dataAddressPrefix).size())) + 1);
    for (const std::string& address : {first, second, next, std::string("quessel-page://data/"),
                                       std::string("quessel-page://x")}) {
        evaluate(page(), "window.outcome = 'waiting'; fetch('" + address +
                             "').then(r => r.text()).then(t => window.outcome = 'served ' + "
                             "t.length, () => window.outcome = 'refused'); 0");
        EXPECT_TRUE(pageHas("window.outcome !== 'waiting'")) << address;
        EXPECT_EQ(evaluate(page(), "window.outcome"), "refused") << address;
    }
    EXPECT_EQ(view().dataRequestsAnswered(), 2);
    EXPECT_EQ(view().dataRequestsRefused(), 5);
    EXPECT_TRUE(pageHas("[...document.querySelectorAll('#virtual-content .key')].some("
                        "key => key.textContent === 'other')"));
}

// Each would, as markup, set window.ran or reach the local server.
std::vector<std::string> hostilePayloads(const std::string& url) {
    return {
        "<script>window.ran = 'script'</script>",
        "</script><script>window.ran = 'after-script'</script>",
        "<img src=\"" + url + "\" onerror=\"window.ran = 'img'\">",
        "<img src=x onerror=window.ran='img-relative'>",
        "\"><svg onload=\"window.ran = 'svg'\">",
        "<iframe src=\"" + url + "\"></iframe>",
        "<link rel=\"stylesheet\" href=\"" + url + "\">",
        "<style>@import url(\"" + url + "\");</style>",
        "<script>fetch('" + url + "')</script>",
        "<script>fetch('quessel-page://data/1')</script>",
        "<meta http-equiv=\"refresh\" content=\"0;url=" + url + "\">",
        "<body onload=\"window.ran = 'body'\">",
        "\\u003cscript\\u003ewindow.ran = 'escaped'\\u003c/script\\u003e",
        "\"}</script><script>window.ran = 'json'</script>",
    };
}

TEST_F(PageDelivery, HostileDocumentsRunNothingAndFetchOnlyTheirOwnData) {
    quessel::testing::ConnectionCounter server;
    const auto payloads = hostilePayloads(server.url("/hostile"));
    std::string document;
    for (std::size_t line = 0; line < 1200; ++line) {
        std::string payload = payloads[line % payloads.size()];
        std::string quoted;
        for (const char c : payload) {
            quoted += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
        }
        document += "\"" + quoted + std::to_string(line) + "\": \"" + quoted + "\"\n";
    }
    openDocument("hostile.yaml", document);
    ASSERT_TRUE(showsRows());
    const std::string address = ownAddress();
    appState->setShowSearch(true);
    settle();
    content().searchBar().setSearchText("window.ran");
    EXPECT_TRUE(runUntil([&] { return content().totalMatches() > 0; }));
    for (int step = 0; step < 10; ++step) {
        evaluate(page(), "window.scrollBy(0, window.innerHeight * 3)");
        quessel::testing::runFor(std::chrono::milliseconds(30));
    }
    content().searchBar().setSearchText("");
    quessel::testing::runFor(std::chrono::milliseconds(300));
    EXPECT_EQ(evaluate(page(), "String(window.ran)"), "undefined");
    EXPECT_EQ(evaluate(page(), loadedResources), "0");
    EXPECT_EQ(server.connections(), 0);
    EXPECT_EQ(view().dataRequestsAnswered(), 1);
    EXPECT_EQ(view().dataRequestsRefused(), 0);
    EXPECT_EQ(view().lastDataRequest(), address);
    EXPECT_EQ(evaluate(page(), "document.scripts.length"), "1");
    EXPECT_EQ(evaluate(page(), "document.querySelectorAll('body *:not(div):not(span):not(script)')"
                               ".length"),
              "0");
}

} // namespace
} // namespace quessel::app::web

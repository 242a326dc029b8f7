// A virtualised page whose data is fetched: it shows nothing until the data arrives, answers the
// searches asked meanwhile once it has, as the page with its data inline answers them, and says
// so when the data cannot be had.
#include "page/GeneratedPage.hpp"
#include "page/PageGenerator.hpp"
#include "tests/page/support/PageFixture.hpp"
#include "viewer_core/GLibHandles.hpp"
#include "viewer_core/GObjectPtr.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace quessel::page::test {
namespace {

// Requests to held-data: wait here until the test answers them.
std::vector<core::GObjectPtr<WebKitURISchemeRequest>>& heldRequests() {
    static std::vector<core::GObjectPtr<WebKitURISchemeRequest>> requests;
    return requests;
}

void registerHeldDataSchemeOnce() {
    static const bool registered = [] {
        webkit_web_context_register_uri_scheme(
            webkit_web_context_get_default(), "held-data",
            [](WebKitURISchemeRequest* request, gpointer) {
                heldRequests().push_back(core::GObjectPtr<WebKitURISchemeRequest>::share(request));
            },
            nullptr, nullptr);
        return true;
    }();
    (void)registered;
}

void answer(WebKitURISchemeRequest* request, const std::string& data) {
    auto* owned = new std::string(data);
    const core::GBytesPtr bytes(g_bytes_new_with_free_func(
        owned->data(), owned->size(), [](gpointer text) { delete static_cast<std::string*>(text); },
        owned));
    const auto stream =
        core::GObjectPtr<GInputStream>::adopt(g_memory_input_stream_new_from_bytes(bytes.get()));
    const auto response = core::GObjectPtr<WebKitURISchemeResponse>::adopt(
        webkit_uri_scheme_response_new(stream.get(), static_cast<gint64>(data.size())));
    SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    soup_message_headers_append(headers, "Access-Control-Allow-Origin", "null");
    webkit_uri_scheme_response_set_http_headers(response.get(), headers);
    webkit_uri_scheme_request_finish_with_response(request, response.get());
}

void refuse(WebKitURISchemeRequest* request) {
    const core::GErrorPtr error(
        g_error_new_literal(G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED, "no"));
    webkit_uri_scheme_request_finish_error(request, error.get());
}

std::string document() {
    std::string text = "top:\n";
    for (int line = 0; line < 3000; ++line) {
        text +=
            "  key" + std::to_string(line) + ": " + (line % 3 == 0 ? "Alpha İ" : "ΣΑΣ beta") + "\n";
    }
    return text;
}

std::string virtualPage(std::string_view yaml) {
    return PageGenerator([] { return Appearance::light; }, PageKind::virtualised)
        .generateHTML(yaml, 14);
}

std::pair<int, int> counts(const MatchUpdate& update) {
    return {update.current, update.total};
}

class FetchedPageData : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        registerHeldDataSchemeOnce();
        heldRequests().clear();
    }
    void TearDown() override {
        for (auto& request : heldRequests()) {
            refuse(request.get());
        }
        heldRequests().clear();
    }

    // The page's data cut into parts of whole characters, each served at its address.
    struct ServedData {
        std::vector<std::string> addresses;
        std::vector<std::string> parts;
    };

    // Loads the page without its data, naming `partCount` parts, and waits until it asks for
    // every part.
    ServedData loadFetching(std::string_view yaml, std::size_t partCount = 1) {
        const GeneratedPage page =
            PageGenerator([] { return Appearance::light; }, PageKind::virtualised)
                .generate(yaml, 14);
        EXPECT_TRUE(page.data.has_value());
        const std::string data = page.data.value_or("");
        ServedData served;
        std::size_t begin = 0;
        for (std::size_t i = 1; i <= partCount; ++i) {
            std::size_t end = data.size() * i / partCount;
            while (end < data.size() && (static_cast<unsigned char>(data[end]) & 0xC0) == 0x80) {
                ++end;
            }
            served.addresses.push_back("held-data://data/1/" + std::to_string(i - 1));
            served.parts.push_back(data.substr(begin, end - begin));
            begin = end;
        }
        loadPage(page.fetching(served.addresses));
        EXPECT_TRUE(iterateUntil([&] { return heldRequests().size() >= partCount; }))
            << "the data was not asked for";
        return served;
    }

    // Answers a held request with the part it asks for.
    static void answerPart(WebKitURISchemeRequest* request, const ServedData& served) {
        const std::string uri = webkit_uri_scheme_request_get_uri(request);
        for (std::size_t i = 0; i < served.addresses.size(); ++i) {
            if (served.addresses[i] == uri) {
                answer(request, served.parts[i]);
                return;
            }
        }
        ADD_FAILURE() << "asked for " << uri;
        refuse(request);
    }

    std::string currentRow() {
        return script("document.querySelector('mark.current').closest('.line').textContent");
    }

    std::string renderedRows() {
        return script("document.querySelectorAll('#virtual-content > .line').length");
    }
};

TEST_F(FetchedPageData, SearchesAskedBeforeTheDataAreAnsweredOnceItArrivesAsInline) {
    const std::string yaml = document();
    loadPage(virtualPage(yaml));
    const MatchUpdate inlineBeta = search("beta");
    const MatchUpdate inlineSecond = navigate(true);
    const MatchUpdate inlineSigma = search("σας");
    ASSERT_GT(inlineBeta.total, 1000);

    const ServedData served = loadFetching(yaml);
    ASSERT_EQ(heldRequests().size(), 1U);
    EXPECT_STREQ(webkit_uri_scheme_request_get_uri(heldRequests()[0].get()),
                 "held-data://data/1/0");
    EXPECT_EQ(renderedRows(), "0");
    const std::size_t before = harness().matchUpdates().size();
    script("highlightMatches('alpha'); highlightMatches('beta'); navigateMatch(true)");
    harness().settle(std::chrono::milliseconds(100));
    EXPECT_EQ(harness().matchUpdates().size(), before) << "answered without the rows";

    answerPart(heldRequests()[0].get(), served);
    // The newest search replaces the earlier one; the move after it follows.
    ASSERT_TRUE(harness().waitForMatchUpdates(before + 2));
    harness().settle(std::chrono::milliseconds(100));
    ASSERT_EQ(harness().matchUpdates().size(), before + 2);
    EXPECT_EQ(counts(harness().matchUpdates()[before]), counts(inlineBeta));
    EXPECT_EQ(counts(harness().matchUpdates()[before + 1]), counts(inlineSecond));
    EXPECT_NE(renderedRows(), "0");
    EXPECT_EQ(counts(search("σας")), counts(inlineSigma));
    EXPECT_EQ(currentRow(), "\"key1: ΣΑΣ beta\"");
    EXPECT_EQ(script("document.getElementById('page-data')"), "null");
}

TEST_F(FetchedPageData, PartsAnsweredInAnyOrderJoinInTheirOwn) {
    std::string yaml;
    for (int line = 0; yaml.size() < 3 * 1024 * 1024; ++line) {
        yaml += "k" + std::to_string(line) + ": Σ€😀 " + std::string(line % 13, 'x') + "\n";
    }
    loadPage(virtualPage(yaml));
    const MatchUpdate inlineX = search("x");
    const MatchUpdate inlineSigma = search("σ€");
    navigate(false);
    const std::string lastRow = currentRow();

    const ServedData served = loadFetching(yaml, 3);
    ASSERT_EQ(heldRequests().size(), 3U) << "all parts are asked for at once";
    for (auto request = heldRequests().rbegin(); request != heldRequests().rend(); ++request) {
        answerPart(request->get(), served);
    }
    heldRequests().clear();
    ASSERT_TRUE(iterateUntil([&] { return renderedRows() != "0"; }));
    EXPECT_EQ(counts(search("x")), counts(inlineX));
    EXPECT_EQ(counts(search("σ€")), counts(inlineSigma));
    EXPECT_EQ(counts(navigate(false)).first, inlineSigma.total);
    EXPECT_EQ(currentRow(), lastRow);
}

TEST_F(FetchedPageData, AViewRestoredBeforeTheDataIsRestoredOnceItArrives) {
    std::string yaml;
    for (int record = 10; record < 90; ++record) {
        yaml += "g" + std::to_string(record) + ": {a: 1, b: [x, y]}\n";
    }
    loadPage(virtualPage(yaml));
    const auto press = [this](const char* node) {
        script(std::string("placeCursor(") + node +
               "); document.body.dispatchEvent(new "
               "KeyboardEvent('keydown', {key: ' ', bubbles: true, cancelable: true}))");
    };
    press("{document: null, steps: [{key: 'g13'}]}");
    press("{document: null, steps: [{key: 'g31'}, {key: 'b'}]}");
    script(
        "placeCursor({document: null, steps: [{key: 'g50'}]});"
        "scrollTo(0, document.querySelector('.cursor').getBoundingClientRect().top + scrollY + 7);"
        "placeCursor({document: null, steps: [{key: 'g52'}, {key: 'a'}]})");
    const std::string view =
        "(s => s && [s.collapsed, s.except, s.top.path, Math.round(s.top.offset)])(viewState())";
    const std::string kept = script(view);
    ASSERT_EQ(kept, R"([false,[[null,"g13"],[null,"g31","b"]],[null,"g50"],7])");
    const std::string saved = script("JSON.stringify(viewState())");
    const std::string cursor = script("JSON.stringify(cursorNode())");

    const ServedData served = loadFetching(yaml);
    EXPECT_EQ(script("restoreViewState(JSON.parse(" + saved + "))"), "undefined");
    EXPECT_EQ(script("placeCursor(JSON.parse(" + cursor + "))"), "false") << "not yet";
    EXPECT_EQ(script("viewState()"), "null");
    answerPart(heldRequests()[0].get(), served);
    heldRequests().clear();
    ASSERT_TRUE(iterateUntil([&] { return renderedRows() != "0"; }));
    EXPECT_EQ(script(view), kept);
    EXPECT_EQ(script("JSON.stringify(cursorNode())"), cursor);
}

TEST_F(FetchedPageData, DataThatCannotBeHadIsSaidSoAndThePageStillAnswers) {
    for (const bool garbled : {false, true}) {
        heldRequests().clear();
        loadFetching(document());
        if (garbled) {
            answer(heldRequests()[0].get(), "{\"markers\":");
        } else {
            refuse(heldRequests()[0].get());
        }
        heldRequests().clear();
        ASSERT_TRUE(iterateUntil([&] {
            return script("!!document.querySelector('.error-banner')") == "true";
        })) << garbled;
        EXPECT_EQ(script("document.querySelector('.error-banner').textContent"),
                  "\"Unable to show the document: its data could not be read\"");
        EXPECT_EQ(renderedRows(), "0");
        EXPECT_EQ(search("unable").total, 1);
        EXPECT_EQ(search("key").total, 0);
    }
}

} // namespace
} // namespace quessel::page::test

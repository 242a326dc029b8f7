// Hostile documents in the real web engine: their text shows as text, runs nothing, loads nothing.
#include "page/MarkupPage.hpp"
#include "page/VirtualPage.hpp"
#include "tests/page/support/PageFixture.hpp"

#include <gtest/gtest.h>

namespace quessel::page::test {
namespace {

using yaml::Sequence;
using yaml::YamlValue;

// Each payload would, as markup, post to the "canary" channel or request a canary: address.
const std::vector<std::string> payloads = {
    "<script>webkit.messageHandlers.canary.postMessage('script')</script>",
    "</script><script>webkit.messageHandlers.canary.postMessage('after-script')</script>",
    "<img src=\"canary://img\" onerror=\"webkit.messageHandlers.canary.postMessage('img')\">",
    "<img src=x onerror=webkit.messageHandlers.canary.postMessage('img-relative')>",
    "\"><svg onload=\"webkit.messageHandlers.canary.postMessage('svg')\">",
    "'><svg/onload=webkit.messageHandlers.canary.postMessage('svg-quote')>",
    "javascript:webkit.messageHandlers.canary.postMessage('javascript-text')",
    "<a id=\"hostile-link\" href=\"javascript:webkit.messageHandlers.canary.postMessage('href')\">"
    "link</a>",
    "')\" onmouseover=\"webkit.messageHandlers.canary.postMessage('attribute')",
    "<iframe src=\"canary://frame\"></iframe>",
    "<link rel=\"stylesheet\" href=\"canary://style\">",
    "<style>@import url(\"canary://import\");</style>",
    "<meta http-equiv=\"refresh\" content=\"0;url=canary://refresh\">",
    "<base href=\"canary://base/\"><img src=\"relative\">",
    "<object data=\"canary://object\"></object><video src=\"canary://video\"></video>",
    "<body onload=\"webkit.messageHandlers.canary.postMessage('body')\">",
    "<!-- <script>webkit.messageHandlers.canary.postMessage('comment')</script> -->",
    "<![CDATA[<script>webkit.messageHandlers.canary.postMessage('cdata')</script>]]>",
    "&lt;script&gt;webkit.messageHandlers.canary.postMessage('entity')&lt;/script&gt;",
    std::string("nul") + '\0' + "<script>webkit.messageHandlers.canary.postMessage('nul')</script>",
};

YamlValue everywhere() {
    std::vector<yaml::MappingEntry> entries;
    Sequence elements;
    for (std::size_t i = 0; i < payloads.size(); ++i) {
        entries.push_back({payloads[i], payloads[i]});
        elements.emplace_back(Sequence{payloads[i], mappingOf({{payloads[i], Sequence{}}})});
    }
    entries.push_back({"nested", elements});
    return mappingOf(std::move(entries));
}

// The payloads as a YAML document: each a key with itself as value, then all in a sequence.
std::string hostileDocument() {
    const auto quoted = [](const std::string& text) {
        std::string out = "\"";
        for (const char c : text) {
            if (c == '\0') {
                out += "\\0";
                continue;
            }
            if (c == '\\' || c == '"') {
                out += '\\';
            }
            out += c;
        }
        return out + '"';
    };
    std::string document;
    for (const std::string& payload : payloads) {
        document += quoted(payload) + ": " + quoted(payload) + "\n";
    }
    document += "list:\n";
    for (const std::string& payload : payloads) {
        document += "  - " + quoted(payload) + "\n";
    }
    return document;
}

std::string listingText() {
    std::string text = "valid: start\n";
    for (const std::string& payload : payloads) {
        text += payload + "\n";
    }
    return text + "unclosed: [\n";
}

class HostilePage : public PageFixture {
protected:
    // Gives the page every chance to act: load, search (which rewrites text into marks),
    // navigate, collapse and expand every node, and follow the would-be link if there is one.
    void exercise() {
        search("canary");
        navigate(true);
        exerciseRows();
        search("");
        harness().settle(std::chrono::milliseconds(300));
    }

    // What the rows of either page do without a search: collapse and expand every node in view,
    // and scroll through the whole page so that every row is written once.
    void exerciseRows() {
        script("document.querySelectorAll('.toggle').forEach(t => { t.click(); t.click(); })");
        for (int step = 0; step < 20; ++step) {
            script("window.scrollBy(0, window.innerHeight / 2)");
            harness().settle(std::chrono::milliseconds(20));
            script("document.querySelectorAll('.toggle').forEach(t => { t.click(); t.click(); })");
        }
        script("window.scrollTo(0, 0)");
        script("const a = document.getElementById('hostile-link'); if (a) a.click();");
    }

    void expectInert() {
        EXPECT_TRUE(harness().canaryMessages().empty())
            << "script ran: " << harness().canaryMessages().front();
        EXPECT_TRUE(WebPageHarness::canarySchemeRequests().empty())
            << "requested: " << WebPageHarness::canarySchemeRequests().front();
        EXPECT_TRUE(harness().navigations().empty())
            << "navigated to: " << harness().navigations().front();
        EXPECT_EQ(script("performance.getEntriesByType('resource').length"), "0");
        // Only the elements page generation writes exist; the one script is ours.
        EXPECT_EQ(script("document.querySelectorAll('body *:not(div):not(span):not(script)')."
                         "length"),
                  "0");
        EXPECT_EQ(script("document.scripts.length"), "1");
    }

    void expectShownAsText(std::size_t copiesEach) {
        for (const std::string& payload : payloads) {
            const std::string visible = payload.substr(0, payload.find('\0'));
            const std::string count = script("document.body.textContent.split('" +
                                             scriptLiteral(visible) + "').length - 1");
            EXPECT_GE(std::stoul(count), copiesEach) << payload;
        }
    }
};

TEST_F(HostilePage, KeysAndValuesRunNothingAndLoadNothing) {
    loadValue(everywhere());
    exercise();
    expectInert();
    // Twice at the top (key and value) and twice nested (element and key).
    expectShownAsText(4);
}

TEST_F(HostilePage, TheRawListingOfAnInvalidDocumentRunsNothingAndLoadsNothing) {
    loadFailure(listingText(), "23:11: error: parser: did not find expected node content");
    exercise();
    expectInert();
    expectShownAsText(1);
}

TEST_F(HostilePage, DocumentsThroughTheLoaderRunNothingAsTreeOrAsListing) {
    loadDocument(hostileDocument());
    EXPECT_EQ(script("document.querySelectorAll('.error-banner').length"), "0");
    exercise();
    expectInert();
    expectShownAsText(3);
    loadDocument(hostileDocument() + "broken: [\n");
    EXPECT_EQ(script("document.querySelectorAll('.error-banner').length"), "1");
    exercise();
    expectInert();
}

// The virtualised page writes rows as elements from data: keys, values and listing lines stay
// text there too.
TEST_F(HostilePage, TheVirtualisedPageRunsNothingAndLoadsNothing) {
    const YamlValue value = everywhere();
    const std::string page =
        writeVirtualPage(PageContent{"", &value, std::nullopt}, Appearance::light, 14).inlined();
    ASSERT_NE(page.find("id=\"virtual-content\""), std::string::npos);
    loadPage(page);
    if (script("typeof highlightMatches") == R"("function")") {
        exercise();
    } else {
        exerciseRows();
    }
    harness().settle(std::chrono::milliseconds(300));
    expectInert();
    expectShownAsText(2); // key and value of the top rows, in view
    const std::string text = listingText();
    loadPage(writeVirtualPage(PageContent{text, nullptr,
                                          bannerForYamlError(
                                              "23:11: error: parser: did not find expected node")},
                              Appearance::light, 14)
                 .inlined());
    exerciseRows();
    harness().settle(std::chrono::milliseconds(300));
    expectInert();
    expectShownAsText(1);
}

// The detectors themselves: the same payloads written as markup are caught.
TEST_F(HostilePage, TheDetectorsCatchPayloadsThatBecomeMarkup) {
    std::string page =
        writeMarkupPage(PageContent{"", nullptr, std::nullopt}, Appearance::light, 14);
    std::string unsafe;
    for (const std::string& payload : payloads) {
        unsafe += payload.substr(0, payload.find('\0'));
    }
    page.insert(page.find("<div class=\"yaml-content\">"), unsafe);
    loadPage(page);
    harness().settle(std::chrono::milliseconds(500));
    EXPECT_FALSE(harness().canaryMessages().empty());
    EXPECT_FALSE(WebPageHarness::canarySchemeRequests().empty());
}

} // namespace
} // namespace quessel::page::test

// The locked-down web view: only the given page, no outside resources, no navigation, no drops.
#include "app/web/PageCalls.hpp"
#include "app/web/PageWebView.hpp"
#include "tests/app/PageProbe.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <set>

namespace quessel::app::web {
namespace {

using quessel::testing::evaluate;
using quessel::testing::waitForPage;

// A page that notes every policy violation, so a test can tell "blocked" from "never tried".
std::string pageWith(const std::string& body) {
    return "<!DOCTYPE html><html><head><meta charset=\"UTF-8\"></head><body>"
           "<script>window.violations = 0; window.marker = 42;"
           "document.addEventListener('securitypolicyviolation', () => ++window.violations);"
           "</script>" +
           body + "<p id=\"ready\">ready</p></body></html>";
}

// Every byte as %XX, for decodeURIComponent to rebuild the text independently of our escaping.
std::string percentEncoded(const std::string& text) {
    std::string out;
    for (const unsigned char byte : text) {
        constexpr const char* digits = "0123456789ABCDEF";
        out += '%';
        out += digits[byte >> 4];
        out += digits[byte & 15];
    }
    return out;
}

class PageWebViewTest : public ::testing::Test {
protected:
    void load(const std::string& body) {
        page.loadPage(pageWith(body));
        ASSERT_TRUE(waitForPage(page.get(), "document.getElementById('ready')"));
    }
    // The page is still the one we loaded: its script state survived.
    bool pageKept() { return evaluate(page.get(), "window.marker === 42") == "true"; }

    PageWebView page;
    quessel::testing::ConnectionCounter server;
};

TEST_F(PageWebViewTest, LoadsThePageWithItsLengthSoANulDoesNotCutIt) {
    page.loadPage(pageWith(std::string("<p>a\0b</p>", 10) + "<p id=\"after\">after</p>"));
    EXPECT_TRUE(waitForPage(page.get(), "document.getElementById('after')"));
    EXPECT_STREQ(webkit_web_view_get_uri(page.get()), "about:blank");
}

TEST_F(PageWebViewTest, RunsInlineScriptAndInlineClickHandlers) {
    load(R"(<span id="t" onclick="document.title = 'clicked'">t</span>)");
    evaluate(page.get(), "document.getElementById('t').click()");
    EXPECT_EQ(evaluate(page.get(), "document.title"), "clicked");
}

TEST_F(PageWebViewTest, LoadsNoResourceFromAnywhere) {
    const std::string url = server.url("/r");
    load("<img src=\"" + url + "\"><link rel=\"stylesheet\" href=\"" + url + "\">" +
         "<style>body { background: url(" + url + "); }</style>" + "<iframe src=\"" + url +
         "\"></iframe><script src=\"" + url + "\"></script>" +
         "<img src=\"file:///etc/hostname\">" + "<script>fetch('" + url +
         "').catch(() => {}); new Image().src = '" + url + "?2';</script>");
    quessel::testing::runFor(std::chrono::milliseconds(1500));
    EXPECT_EQ(server.connections(), 0);
    EXPECT_GE(std::stoi(evaluate(page.get(), "window.violations")), 5) << "nothing was tried";
}

TEST_F(PageWebViewTest, RefusesEveryWayOfLeavingThePage) {
    const std::string url = server.url("/away");
    load("<a id=\"link\" href=\"" + url + "\">away</a><form id=\"form\" action=\"" + url +
         "\"><input name=\"q\" value=\"1\"></form>");
    const char* attempts[] = {
        "document.getElementById('link').click()",
        "document.getElementById('form').submit()",
        "window.open('URL')",
        "location.href = 'URL'",
        "location.href = 'about:blank'",
        "location.reload()",
        "history.back()",
    };
    for (std::string attempt : attempts) {
        if (auto at = attempt.find("URL"); at != std::string::npos) {
            attempt.replace(at, 3, url);
        }
        evaluate(page.get(), attempt);
        quessel::testing::runFor(std::chrono::milliseconds(300));
        EXPECT_TRUE(pageKept()) << attempt;
        EXPECT_EQ(server.connections(), 0) << attempt;
    }
    webkit_web_view_reload(page.get());
    quessel::testing::runFor(std::chrono::milliseconds(300));
    EXPECT_TRUE(pageKept()) << "reload";
    EXPECT_EQ(server.connections(), 0);
    EXPECT_STREQ(webkit_web_view_get_uri(page.get()), "about:blank");
}

TEST_F(PageWebViewTest, AnEmptyPageIsABlankPage) {
    load("<p id=\"old\">old</p>");
    page.loadPage(std::string());
    EXPECT_TRUE(waitForPage(page.get(), "document.body === null || "
                                        "document.body.childNodes.length === 0"));
}

TEST_F(PageWebViewTest, ReplacesItsPageWhenGivenANewOne) {
    load("<p>first</p>");
    page.loadPage(pageWith("<p id=\"second\">second</p>"));
    page.loadPage(pageWith("<p id=\"third\">third</p>"));
    EXPECT_TRUE(waitForPage(page.get(), "document.getElementById('third')"));
}

TEST_F(PageWebViewTest, DeliversMatchUpdateBodies) {
    std::vector<std::string> bodies;
    page.onMatchUpdate([&](JSCValue* body) {
        char* json = jsc_value_to_json(body, 0);
        bodies.emplace_back(json);
        g_free(json);
    });
    load("<script>window.webkit.messageHandlers.matchUpdate.postMessage("
         "{current: 2, total: 15});</script>");
    ASSERT_TRUE(quessel::testing::runUntil([&] { return !bodies.empty(); }));
    // The engine does not promise an order of members.
    EXPECT_NE(bodies.front().find(R"("current":2)"), std::string::npos) << bodies.front();
    EXPECT_NE(bodies.front().find(R"("total":15)"), std::string::npos) << bodies.front();
}

TEST_F(PageWebViewTest, SearchLiteralsReachThePageExactlyAsTyped) {
    load("");
    for (const std::string text :
         {"it's", "a\\b", "line\nbreak", "cr\rlf", "ls\u2028ps\u2029", "\"quoted\"", "'\\'"}) {
        const std::string script = "'" + singleQuotedLiteralBody(text) +
                                   "' === " + "decodeURIComponent('" + percentEncoded(text) + "')";
        EXPECT_EQ(evaluate(page.get(), script), "true") << text;
    }
}

TEST_F(PageWebViewTest, KeepsOnlyInspectCopyAndSelectAllInTheContextMenu) {
    WebKitContextMenu* menu = webkit_context_menu_new();
    for (auto action : {WEBKIT_CONTEXT_MENU_ACTION_GO_BACK, WEBKIT_CONTEXT_MENU_ACTION_RELOAD,
                        WEBKIT_CONTEXT_MENU_ACTION_OPEN_LINK_IN_NEW_WINDOW,
                        WEBKIT_CONTEXT_MENU_ACTION_COPY, WEBKIT_CONTEXT_MENU_ACTION_SELECT_ALL,
                        WEBKIT_CONTEXT_MENU_ACTION_OPEN_IMAGE_IN_NEW_WINDOW,
                        WEBKIT_CONTEXT_MENU_ACTION_INSPECT_ELEMENT}) {
        webkit_context_menu_append(menu, webkit_context_menu_item_new_from_stock_action(action));
    }
    gboolean handled = TRUE;
    g_signal_emit_by_name(page.get(), "context-menu", menu, nullptr, &handled);
    std::set<int> kept;
    for (GList* node = webkit_context_menu_get_items(menu); node != nullptr; node = node->next) {
        kept.insert(webkit_context_menu_item_get_stock_action(
            static_cast<WebKitContextMenuItem*>(node->data)));
    }
    EXPECT_FALSE(handled) << "the menu must still show";
    EXPECT_EQ(kept,
              (std::set<int>{WEBKIT_CONTEXT_MENU_ACTION_COPY, WEBKIT_CONTEXT_MENU_ACTION_SELECT_ALL,
                             WEBKIT_CONTEXT_MENU_ACTION_INSPECT_ELEMENT}));
    g_object_unref(menu);
}

TEST_F(PageWebViewTest, HasDeveloperExtrasAndNoActiveDropTarget) {
    EXPECT_TRUE(
        webkit_settings_get_enable_developer_extras(webkit_web_view_get_settings(page.get())));
    GListModel* controllers = gtk_widget_observe_controllers(page.widget());
    int dropTargets = 0;
    for (guint i = 0; i < g_list_model_get_n_items(controllers); ++i) {
        auto* controller = GTK_EVENT_CONTROLLER(g_list_model_get_item(controllers, i));
        if ((GTK_IS_DROP_TARGET(controller) || GTK_IS_DROP_TARGET_ASYNC(controller)) &&
            gtk_event_controller_get_propagation_phase(controller) != GTK_PHASE_NONE) {
            ++dropTargets;
        }
        g_object_unref(controller);
    }
    g_object_unref(controllers);
    EXPECT_EQ(dropTargets, 0);
}

} // namespace
} // namespace quessel::app::web

// The web engine view that shows one generated page and nothing else.
#pragma once

#include "page/GeneratedPage.hpp"
#include "viewer_core/GLibHandles.hpp"
#include "viewer_core/GObjectPtr.hpp"

#include <webkit/webkit.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quessel::app::web {

// Owns a WebKitWebView set up for Quessel's pages: developer extras on, the "matchUpdate" and
// "cursorChanged" message channels registered, and locked to the page it is given. It never
// navigates away (links, window.open, forms, reload and history are refused), loads no resource
// besides the page (a content security policy that allows only the page's inline style and script),
// offers no navigating context-menu item and takes no drops, which the window handles instead.
//
// A virtualised page's data is not loaded with its HTML: the page names addresses of this view's
// "quessel-page" scheme and fetches the data's parts from them. The view answers each address its
// current page names once, and refuses every other request.
class PageWebView {
public:
    // What the page may use: its own inline style sheet and script, and its data through the
    // view's own scheme; nothing from anywhere else.
    static constexpr const char* contentSecurityPolicy =
        "default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'; "
        "connect-src quessel-page:; base-uri 'none'; form-action 'none'";
    // Where a page's data is fetched from: this prefix, a number of the page's own, "/" and the
    // part's number.
    static constexpr const char* dataAddressPrefix = "quessel-page://data/";

    PageWebView();
    PageWebView(const PageWebView&) = delete;
    PageWebView& operator=(const PageWebView&) = delete;
    ~PageWebView();

    WebKitWebView* get() const noexcept { return view_.get(); }
    GtkWidget* widget() const noexcept { return GTK_WIDGET(view_.get()); }

    // Replaces the page with the given HTML, loaded with its length (a NUL in the document does
    // not cut it) and no base address.
    void loadPage(std::string html);
    // The same for a generated page. Its data, if any, is answered at the addresses of its parts
    // until the page has fetched them or another page replaces it.
    void loadPage(page::GeneratedPage page);

    // Data requests answered and refused since the view was made, and the address of the last.
    int dataRequestsAnswered() const noexcept { return dataAnswered_; }
    int dataRequestsRefused() const noexcept { return dataRefused_; }
    const std::string& lastDataRequest() const noexcept { return lastDataRequest_; }

    // Runs script text in the page; its result and any error are ignored.
    void evaluate(const std::string& script);
    // Runs script text in the page and hands its result, which should be a string, to `done` on
    // the main thread: none when the script failed or gave no string. Nothing is handed once
    // this view is gone.
    using EvaluationDone = std::function<void(std::optional<std::string>)>;
    void evaluate(const std::string& script, EvaluationDone done);

    // Receives the body of every "matchUpdate" message, on the main thread.
    void onMatchUpdate(std::function<void(JSCValue*)> handler) {
        matchUpdate_ = std::move(handler);
    }

    // Receives the body of every "cursorChanged" message, on the main thread.
    void onCursorChanged(std::function<void(JSCValue*)> handler) {
        cursorChanged_ = std::move(handler);
    }

    // Items the host adds to the page's context menu, after the page's own: each runs an action
    // (with its target, if any) when chosen. The list is asked anew each time the menu opens.
    struct MenuItem {
        std::string label;
        GAction* action = nullptr;
        GVariant* target = nullptr;
    };
    void onContextMenu(std::function<std::vector<MenuItem>()> items) {
        menuItems_ = std::move(items);
    }

    // Called on the main thread when the engine has finished loading, and no further load is
    // under way: the newest page shows. Also when the web process has gone, which ends any load.
    void onLoadFinished(std::function<void()> handler) { loadFinished_ = std::move(handler); }

private:
    static void loadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static void processGone(WebKitWebView* view, WebKitWebProcessTerminationReason, gpointer self);
    static gboolean decidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer self);
    static gboolean contextMenu(WebKitWebView* view, WebKitContextMenu* menu,
                                WebKitHitTestResult* hit, gpointer self);
    static void messageReceived(WebKitUserContentManager* manager, JSCValue* body, gpointer self);
    static void cursorMessageReceived(WebKitUserContentManager* manager, JSCValue* body,
                                      gpointer self);
    void appendHostItems(WebKitContextMenu* menu);
    static void evaluated(GObject* view, GAsyncResult* result, gpointer call);
    static void dataRequested(WebKitURISchemeRequest* request, gpointer);
    static void registerDataScheme(WebKitWebContext* context);
    bool answerDataRequest(WebKitURISchemeRequest* request);
    bool allowNavigation(WebKitNavigationAction* action);
    void refuseDrops();

    core::GObjectPtr<WebKitUserContentManager> contentManager_;
    core::GObjectPtr<WebKitWebView> view_;
    // Cancelled with this view, so that no evaluation's result reaches a host that is gone.
    core::GObjectPtr<GCancellable> evaluations_ =
        core::GObjectPtr<GCancellable>::adopt(g_cancellable_new());
    std::function<void(JSCValue*)> matchUpdate_;
    std::function<void(JSCValue*)> cursorChanged_;
    std::function<std::vector<MenuItem>()> menuItems_;
    std::function<void()> loadFinished_;
    // Loads started by loadPage whose navigation the engine has yet to ask about.
    int ownLoadsPending_ = 0;
    // The current page's data and its parts, until they have all been fetched.
    struct DataPart {
        std::string address;
        std::size_t begin = 0;
        std::size_t end = 0;
        bool answered = false;
    };
    core::GBytesPtr data_;
    std::vector<DataPart> dataParts_;
    // Numbers the pages with data, so that a page can name only the data made with it.
    std::uint64_t dataSerial_ = 0;
    int dataAnswered_ = 0;
    int dataRefused_ = 0;
    std::string lastDataRequest_;
};

} // namespace quessel::app::web

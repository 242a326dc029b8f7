// The web engine view that shows one generated page and nothing else.
#pragma once

#include "viewer_core/GObjectPtr.hpp"

#include <webkit/webkit.h>

#include <functional>
#include <string>

namespace quessel::app {

// Owns a WebKitWebView set up for Quessel's pages: developer extras on, the "matchUpdate"
// message channel registered, and locked to the page it is given. It never navigates away (links,
// window.open, forms, reload and history are refused), loads no resource besides the page (a
// content security policy that allows only the page's inline style and script), offers no
// navigating context-menu item and takes no drops, which the window handles instead.
class PageWebView {
public:
    // What the page may use: its own inline style sheet and script, nothing from anywhere.
    static constexpr const char* contentSecurityPolicy =
        "default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'; "
        "base-uri 'none'; form-action 'none'";

    PageWebView();
    PageWebView(const PageWebView&) = delete;
    PageWebView& operator=(const PageWebView&) = delete;
    ~PageWebView();

    WebKitWebView* get() const noexcept { return view_.get(); }
    GtkWidget* widget() const noexcept { return GTK_WIDGET(view_.get()); }

    // Replaces the page with the given HTML, loaded with its length (a NUL in the document does
    // not cut it) and no base address.
    void loadPage(std::string html);

    // Runs script text in the page; its result and any error are ignored.
    void evaluate(const std::string& script);

    // Receives the body of every "matchUpdate" message, on the main thread.
    void onMatchUpdate(std::function<void(JSCValue*)> handler) {
        matchUpdate_ = std::move(handler);
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
    bool allowNavigation(WebKitNavigationAction* action);
    void refuseDrops();

    core::GObjectPtr<WebKitUserContentManager> contentManager_;
    core::GObjectPtr<WebKitWebView> view_;
    std::function<void(JSCValue*)> matchUpdate_;
    std::function<void()> loadFinished_;
    // Loads started by loadPage whose navigation the engine has yet to ask about.
    int ownLoadsPending_ = 0;
};

} // namespace quessel::app

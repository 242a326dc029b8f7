// A real WebKitWebView in a window, loading generated pages and recording what they do.
#pragma once

#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quessel::page::test {

struct MatchUpdate {
    int current = 0;
    int total = 0;
    std::string json;                 // the body as the page sent it
    std::vector<std::string> members; // the body's member names, sorted
    bool integers = false;            // whether current and total are whole numbers
};

// Loads pages the way the web view host will (load_bytes, no base address) with the
// "matchUpdate" and "cursorChanged" channels registered. It also watches for anything a page must
// never do: a "canary" script-message channel that hostile payloads call, a "canary:" URI scheme
// whose every request is counted, and the navigations the page starts after loading.
class WebPageHarness {
public:
    WebPageHarness();
    ~WebPageHarness();
    WebPageHarness(const WebPageHarness&) = delete;
    WebPageHarness& operator=(const WebPageHarness&) = delete;

    // Loads the page and waits until the engine reports the load finished; false on timeout.
    bool load(std::string_view html, std::chrono::milliseconds timeout = std::chrono::seconds(10));

    // Runs script text in the page and returns its result as JSON ("undefined" for none), or
    // nothing when it threw or timed out.
    std::optional<std::string>
    evaluate(std::string_view script, std::chrono::milliseconds timeout = std::chrono::seconds(10));

    // Iterates the main loop until `count` matchUpdate messages arrived in total.
    bool waitForMatchUpdates(std::size_t count,
                             std::chrono::milliseconds timeout = std::chrono::seconds(10));

    // Lets the engine run for a while, so that anything a page schedules gets its chance.
    void settle(std::chrono::milliseconds duration);

    const std::vector<MatchUpdate>& matchUpdates() const { return matchUpdates_; }
    // The cursorChanged bodies as JSON, in the order they came.
    const std::vector<std::string>& cursorMessages() const { return cursorMessages_; }
    const std::vector<std::string>& canaryMessages() const { return canaryMessages_; }
    const std::vector<std::string>& navigations() const { return navigations_; }
    static const std::vector<std::string>& canarySchemeRequests();

    WebKitWebView* view() const { return view_; }

private:
    static void onMatchUpdate(WebKitUserContentManager*, JSCValue* value, gpointer self);
    static void onCanary(WebKitUserContentManager*, JSCValue* value, gpointer self);
    static void onCursorChanged(WebKitUserContentManager*, JSCValue* value, gpointer self);
    static void onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self);
    static gboolean onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);

    GtkWindow* window_ = nullptr; // owned by GTK's window list; destroyed explicitly
    WebKitWebView* view_ = nullptr;
    bool loadFinished_ = false;
    bool loading_ = false;
    std::vector<MatchUpdate> matchUpdates_;
    std::vector<std::string> canaryMessages_;
    std::vector<std::string> cursorMessages_;
    std::vector<std::string> navigations_;
};

// Iterates the default main context until `done` holds or `timeout` passes.
bool iterateUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds timeout = std::chrono::seconds(10));

} // namespace quessel::page::test

// A real WebKitWebView in a window, loading generated pages and recording what they do.
#include "tests/page/support/WebPageHarness.hpp"

#include "viewer_core/GObjectPtr.hpp"

#include <algorithm>
#include <memory>

namespace quessel::page::test {
namespace {

std::string toJson(JSCValue* value) {
    std::unique_ptr<char, decltype(&g_free)> json(jsc_value_to_json(value, 0), &g_free);
    return json ? json.get() : "undefined";
}

std::vector<std::string>& schemeRequests() {
    static std::vector<std::string> requests;
    return requests;
}

// Every request to canary: is recorded and answered with an error, so that an image's onerror
// handler would run if a payload ever became markup.
void onCanarySchemeRequest(WebKitURISchemeRequest* request, gpointer) {
    schemeRequests().emplace_back(webkit_uri_scheme_request_get_uri(request));
    GError* error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "canary");
    webkit_uri_scheme_request_finish_error(request, error);
    g_error_free(error);
}

void registerCanarySchemeOnce() {
    static const bool registered = [] {
        webkit_web_context_register_uri_scheme(webkit_web_context_get_default(), "canary",
                                               onCanarySchemeRequest, nullptr, nullptr);
        return true;
    }();
    (void)registered;
}

// A timer that wakes the main loop regularly, so that deadlines are noticed while idle.
class WakeUpTimer {
public:
    WakeUpTimer() : id_(g_timeout_add(10, &keepWaking, nullptr)) {}
    WakeUpTimer(const WakeUpTimer&) = delete;
    WakeUpTimer& operator=(const WakeUpTimer&) = delete;
    ~WakeUpTimer() { g_source_remove(id_); }

private:
    static gboolean keepWaking(gpointer) { return G_SOURCE_CONTINUE; }

    guint id_;
};

} // namespace

bool iterateUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    WakeUpTimer timer;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        g_main_context_iteration(nullptr, TRUE);
    }
    return true;
}

WebPageHarness::WebPageHarness() {
    registerCanarySchemeOnce();
    schemeRequests().clear(); // the scheme is process-wide; each harness counts its own page
    view_ = WEBKIT_WEB_VIEW(webkit_web_view_new());
    WebKitUserContentManager* content = webkit_web_view_get_user_content_manager(view_);
    g_signal_connect(content, "script-message-received::matchUpdate", G_CALLBACK(onMatchUpdate),
                     this);
    g_signal_connect(content, "script-message-received::canary", G_CALLBACK(onCanary), this);
    g_signal_connect(content, "script-message-received::cursorChanged", G_CALLBACK(onCursorChanged),
                     this);
    webkit_user_content_manager_register_script_message_handler(content, "matchUpdate", nullptr);
    webkit_user_content_manager_register_script_message_handler(content, "canary", nullptr);
    webkit_user_content_manager_register_script_message_handler(content, "cursorChanged", nullptr);
    g_signal_connect(view_, "load-changed", G_CALLBACK(onLoadChanged), this);
    g_signal_connect(view_, "decide-policy", G_CALLBACK(onDecidePolicy), this);

    window_ = GTK_WINDOW(gtk_window_new());
    gtk_window_set_default_size(window_, 800, 600);
    gtk_window_set_child(window_, GTK_WIDGET(view_));
    gtk_window_present(window_);
}

WebPageHarness::~WebPageHarness() {
    g_signal_handlers_disconnect_by_data(webkit_web_view_get_user_content_manager(view_), this);
    g_signal_handlers_disconnect_by_data(view_, this);
    gtk_window_destroy(window_);
}

bool WebPageHarness::load(std::string_view html, std::chrono::milliseconds timeout) {
    loadFinished_ = false;
    loading_ = true;
    GBytes* bytes = g_bytes_new(html.data(), html.size());
    webkit_web_view_load_bytes(view_, bytes, "text/html", "UTF-8", nullptr); // takes its own ref
    g_bytes_unref(bytes);
    const bool finished = iterateUntil([this] { return loadFinished_; }, timeout);
    loading_ = false;
    return finished;
}

std::optional<std::string> WebPageHarness::evaluate(std::string_view script,
                                                    std::chrono::milliseconds timeout) {
    struct Outcome {
        bool done = false;
        std::optional<std::string> json;
    };
    // Shared with the callback, which may outlive this call when the engine does not answer.
    auto outcome = std::make_shared<Outcome>();
    webkit_web_view_evaluate_javascript(
        view_, script.data(), static_cast<gssize>(script.size()), nullptr, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            const std::unique_ptr<std::shared_ptr<Outcome>> out(
                static_cast<std::shared_ptr<Outcome>*>(data));
            GError* error = nullptr;
            auto value = quessel::core::GObjectPtr<JSCValue>::adopt(
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result,
                                                           &error));
            if (value) {
                (*out)->json = toJson(value.get());
            } else {
                g_error_free(error);
            }
            (*out)->done = true;
        },
        new std::shared_ptr<Outcome>(outcome));
    iterateUntil([&outcome] { return outcome->done; }, timeout);
    return outcome->json;
}

bool WebPageHarness::waitForMatchUpdates(std::size_t count, std::chrono::milliseconds timeout) {
    return iterateUntil([this, count] { return matchUpdates_.size() >= count; }, timeout);
}

void WebPageHarness::settle(std::chrono::milliseconds duration) {
    const auto until = std::chrono::steady_clock::now() + duration;
    iterateUntil([until] { return std::chrono::steady_clock::now() >= until; }, duration * 2);
}

const std::vector<std::string>& WebPageHarness::canarySchemeRequests() {
    return schemeRequests();
}

void WebPageHarness::onMatchUpdate(WebKitUserContentManager*, JSCValue* value, gpointer self) {
    MatchUpdate update;
    update.json = toJson(value);
    if (jsc_value_is_object(value)) {
        std::unique_ptr<char*, decltype(&g_strfreev)> names(
            jsc_value_object_enumerate_properties(value), &g_strfreev);
        for (char** name = names.get(); name != nullptr && *name != nullptr; ++name) {
            update.members.emplace_back(*name);
        }
        std::sort(update.members.begin(), update.members.end());
    }
    auto current =
        quessel::core::GObjectPtr<JSCValue>::adopt(jsc_value_object_get_property(value, "current"));
    auto total =
        quessel::core::GObjectPtr<JSCValue>::adopt(jsc_value_object_get_property(value, "total"));
    const auto isInteger = [](JSCValue* number) {
        return jsc_value_is_number(number) &&
               jsc_value_to_double(number) == static_cast<double>(jsc_value_to_int32(number));
    };
    update.integers = isInteger(current.get()) && isInteger(total.get());
    update.current = jsc_value_to_int32(current.get());
    update.total = jsc_value_to_int32(total.get());
    static_cast<WebPageHarness*>(self)->matchUpdates_.push_back(std::move(update));
}

void WebPageHarness::onCanary(WebKitUserContentManager*, JSCValue* value, gpointer self) {
    static_cast<WebPageHarness*>(self)->canaryMessages_.push_back(toJson(value));
}

void WebPageHarness::onCursorChanged(WebKitUserContentManager*, JSCValue* value, gpointer self) {
    static_cast<WebPageHarness*>(self)->cursorMessages_.push_back(toJson(value));
}

void WebPageHarness::onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
    if (event == WEBKIT_LOAD_FINISHED) {
        static_cast<WebPageHarness*>(self)->loadFinished_ = true;
    }
}

// The page's own load passes here too; anything later is the page navigating by itself, which
// is recorded and refused so that the page under test stays in place.
gboolean WebPageHarness::onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                        WebKitPolicyDecisionType type, gpointer self) {
    auto* harness = static_cast<WebPageHarness*>(self);
    if (harness->loading_ || type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
        return FALSE;
    }
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
        WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    harness->navigations_.emplace_back(webkit_uri_request_get_uri(request));
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

} // namespace quessel::page::test

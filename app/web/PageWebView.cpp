// The web engine view that shows one generated page and nothing else.
#include "app/web/PageWebView.hpp"

#include "app/web/PageDataParts.hpp"

#include <gtk/gtk.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

namespace quessel::app::web {
namespace {

// A page loaded from bytes with no base address has this address.
constexpr std::string_view ownPageUri = "about:blank";

// Selecting and copying text and the web inspector are all a page's menu needs; reload, back,
// forward, open-link and the like would leave the generated page.
bool keepsContextMenuItem(WebKitContextMenuItem* item) {
    switch (webkit_context_menu_item_get_stock_action(item)) {
    case WEBKIT_CONTEXT_MENU_ACTION_INSPECT_ELEMENT:
    case WEBKIT_CONTEXT_MENU_ACTION_COPY:
    case WEBKIT_CONTEXT_MENU_ACTION_SELECT_ALL:
        return true;
    default:
        return false;
    }
}

void deleteString(gpointer text) {
    delete static_cast<std::string*>(text);
}

// Bytes that own the text, so that the engine reads it where it lies.
core::GBytesPtr bytesOwning(std::string text) {
    auto* owned = new std::string(std::move(text));
    return core::GBytesPtr(
        g_bytes_new_with_free_func(owned->data(), owned->size(), &deleteString, owned));
}

constexpr const char* dataScheme = "quessel-page";
// The key under which a web view knows its PageWebView, and a context that it answers the
// data scheme.
constexpr const char* hostKey = "quessel-page-web-view";
constexpr const char* schemeKey = "quessel-page-scheme";

void refuseDataRequest(WebKitURISchemeRequest* request) {
    core::GErrorPtr error(g_error_new_literal(G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED,
                                              "Not the data of the page shown"));
    webkit_uri_scheme_request_finish_error(request, error.get());
}

// A page loaded from bytes has an opaque origin, which fetch() sends as "null"; only a
// response that admits that origin reaches the page's script.
void admitOpaqueOrigin(WebKitURISchemeResponse* response) {
    SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    soup_message_headers_append(headers, "Access-Control-Allow-Origin", "null");
    webkit_uri_scheme_response_set_http_headers(response, headers); // takes the headers
}

// Clicking a link makes the engine connect to the link's server before it asks whether to
// navigate at all; cancelling the click and the form submission in the page keeps even that from
// happening. It runs as a user script, so the page text stays as generated.
constexpr const char* linkGuardScript = R"js(
(() => {
    const cancelLinks = (event) => {
        const target = event.target instanceof Element ? event.target : event.target.parentElement;
        if (target && target.closest('a[href], area[href]')) {
            event.preventDefault();
        }
    };
    addEventListener('click', cancelLinks, true);
    addEventListener('auxclick', cancelLinks, true);
    addEventListener('submit', (event) => event.preventDefault(), true);
})();
)js";

void addLinkGuard(WebKitUserContentManager* manager) {
    std::unique_ptr<WebKitUserScript, decltype(&webkit_user_script_unref)> script(
        webkit_user_script_new(linkGuardScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr),
        &webkit_user_script_unref);
    webkit_user_content_manager_add_script(manager, script.get());
}

} // namespace

PageWebView::PageWebView()
    : contentManager_(
          core::GObjectPtr<WebKitUserContentManager>::adopt(webkit_user_content_manager_new())) {
    for (const char* channel : {"matchUpdate", "cursorChanged"}) {
        webkit_user_content_manager_register_script_message_handler(contentManager_.get(), channel,
                                                                    nullptr);
    }
    addLinkGuard(contentManager_.get());
    g_signal_connect(contentManager_.get(), "script-message-received::matchUpdate",
                     G_CALLBACK(&PageWebView::messageReceived), this);
    g_signal_connect(contentManager_.get(), "script-message-received::cursorChanged",
                     G_CALLBACK(&PageWebView::cursorMessageReceived), this);
    view_ = core::GObjectPtr<WebKitWebView>::adopt(WEBKIT_WEB_VIEW(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager", contentManager_.get(),
                     "default-content-security-policy", contentSecurityPolicy, nullptr)));
    WebKitSettings* settings = webkit_web_view_get_settings(view_.get());
    webkit_settings_set_enable_developer_extras(settings, TRUE);
    webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
    webkit_settings_set_enable_back_forward_navigation_gestures(settings, FALSE);
    g_signal_connect(view_.get(), "decide-policy", G_CALLBACK(&PageWebView::decidePolicy), this);
    g_signal_connect(view_.get(), "context-menu", G_CALLBACK(&PageWebView::contextMenu), this);
    g_signal_connect(view_.get(), "load-changed", G_CALLBACK(&PageWebView::loadChanged), this);
    g_signal_connect(view_.get(), "web-process-terminated", G_CALLBACK(&PageWebView::processGone),
                     this);
    g_object_set_data(G_OBJECT(view_.get()), hostKey, this);
    registerDataScheme(webkit_web_view_get_context(view_.get()));
    refuseDrops();
}

PageWebView::~PageWebView() {
    g_cancellable_cancel(evaluations_.get());
    // The engine may outlive this object for a moment (GTK holds its own references while it
    // takes the widget down); no callback may reach us after this point.
    g_signal_handlers_disconnect_by_data(view_.get(), this);
    g_signal_handlers_disconnect_by_data(contentManager_.get(), this);
    g_object_set_data(G_OBJECT(view_.get()), hostKey, nullptr);
}

void PageWebView::loadPage(std::string html) {
    loadPage(page::GeneratedPage{std::move(html), std::nullopt, 0});
}

void PageWebView::loadPage(page::GeneratedPage page) {
    // Whatever the previous page has not fetched yet is no longer anyone's.
    data_.reset();
    dataParts_.clear();
    std::string html;
    if (page.data) {
        const std::string address = dataAddressPrefix + std::to_string(++dataSerial_) + "/";
        std::vector<std::string> addresses;
        std::size_t begin = 0;
        for (const std::size_t end : pageDataPartEnds(*page.data)) {
            addresses.push_back(address + std::to_string(addresses.size()));
            dataParts_.push_back({addresses.back(), begin, end, false});
            begin = end;
        }
        html = page.fetching(addresses);
        data_ = bytesOwning(std::move(*page.data));
    } else {
        html = std::move(page.html);
    }
    if (html.empty()) {
        // The engine refuses empty bytes; a doctype alone is the same blank page.
        html = "<!DOCTYPE html>";
    }
    const core::GBytesPtr bytes = bytesOwning(std::move(html));
    ++ownLoadsPending_;
    webkit_web_view_load_bytes(view_.get(), bytes.get(), "text/html", "UTF-8", nullptr);
}

void PageWebView::registerDataScheme(WebKitWebContext* context) {
    // A context takes one handler per scheme, and every view of the context shares it: the
    // handler asks the requesting view's PageWebView.
    if (g_object_get_data(G_OBJECT(context), schemeKey) != nullptr) {
        return;
    }
    webkit_web_context_register_uri_scheme(context, dataScheme, &PageWebView::dataRequested,
                                           nullptr, nullptr);
    g_object_set_data(G_OBJECT(context), schemeKey, GINT_TO_POINTER(1));
}

void PageWebView::dataRequested(WebKitURISchemeRequest* request, gpointer) {
    WebKitWebView* view = webkit_uri_scheme_request_get_web_view(request);
    auto* host = view != nullptr
                     ? static_cast<PageWebView*>(g_object_get_data(G_OBJECT(view), hostKey))
                     : nullptr;
    if (host == nullptr) {
        refuseDataRequest(request);
        return;
    }
    if (!host->answerDataRequest(request)) {
        ++host->dataRefused_;
        refuseDataRequest(request);
    }
}

bool PageWebView::answerDataRequest(WebKitURISchemeRequest* request) {
    const char* uri = webkit_uri_scheme_request_get_uri(request);
    lastDataRequest_ = uri != nullptr ? uri : "";
    const auto part = std::find_if(dataParts_.begin(), dataParts_.end(), [&](const DataPart& p) {
        return !p.answered && p.address == lastDataRequest_;
    });
    if (!data_ || uri == nullptr || part == dataParts_.end()) {
        return false;
    }
    // Each part is answered once: the page keeps what it fetched, and no later request gets it
    // again. The part shares the data's buffer.
    part->answered = true;
    const core::GBytesPtr bytes(
        g_bytes_new_from_bytes(data_.get(), part->begin, part->end - part->begin));
    if (std::all_of(dataParts_.begin(), dataParts_.end(),
                    [](const DataPart& p) { return p.answered; })) {
        data_.reset();
        dataParts_.clear();
    }
    const auto stream =
        core::GObjectPtr<GInputStream>::adopt(g_memory_input_stream_new_from_bytes(bytes.get()));
    const auto response =
        core::GObjectPtr<WebKitURISchemeResponse>::adopt(webkit_uri_scheme_response_new(
            stream.get(), static_cast<gint64>(g_bytes_get_size(bytes.get()))));
    webkit_uri_scheme_response_set_content_type(response.get(), "application/json");
    admitOpaqueOrigin(response.get());
    webkit_uri_scheme_request_finish_with_response(request, response.get());
    ++dataAnswered_;
    return true;
}

void PageWebView::evaluate(const std::string& script) {
    webkit_web_view_evaluate_javascript(view_.get(), script.c_str(),
                                        static_cast<gssize>(script.size()), nullptr, nullptr,
                                        nullptr, nullptr, nullptr);
}

void PageWebView::evaluate(const std::string& script, EvaluationDone done) {
    webkit_web_view_evaluate_javascript(
        view_.get(), script.c_str(), static_cast<gssize>(script.size()), nullptr, nullptr,
        evaluations_.get(), &PageWebView::evaluated, new EvaluationDone(std::move(done)));
}

void PageWebView::evaluated(GObject* view, GAsyncResult* result, gpointer call) {
    const std::unique_ptr<EvaluationDone> done(static_cast<EvaluationDone*>(call));
    GError* failure = nullptr;
    const core::GObjectPtr<JSCValue> value = core::GObjectPtr<JSCValue>::adopt(
        webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &failure));
    const core::GErrorPtr error(failure);
    if (error && g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
        return;
    }
    std::optional<std::string> text;
    if (value && jsc_value_is_string(value.get())) {
        const core::GCharPtr chars(jsc_value_to_string(value.get()));
        text = chars.get();
    }
    (*done)(std::move(text));
}

bool PageWebView::allowNavigation(WebKitNavigationAction* action) {
    // Our own loads are API requests for about:blank; everything the page itself starts (links,
    // forms, location changes, reload, history) has another type, another address, or comes
    // when no load of ours is waiting.
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = request != nullptr ? webkit_uri_request_get_uri(request) : nullptr;
    const bool own =
        ownLoadsPending_ > 0 &&
        webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_OTHER &&
        uri != nullptr && std::string_view(uri) == ownPageUri;
    if (own) {
        --ownLoadsPending_;
    }
    return own;
}

gboolean PageWebView::decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self) {
    auto* host = static_cast<PageWebView*>(self);
    switch (type) {
    case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION: {
        auto* navigation = WEBKIT_NAVIGATION_POLICY_DECISION(decision);
        if (host->allowNavigation(
                webkit_navigation_policy_decision_get_navigation_action(navigation))) {
            webkit_policy_decision_use(decision);
        } else {
            webkit_policy_decision_ignore(decision);
        }
        return TRUE;
    }
    case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION:
        webkit_policy_decision_ignore(decision);
        return TRUE;
    default:
        return FALSE;
    }
}

gboolean PageWebView::contextMenu(WebKitWebView*, WebKitContextMenu* menu, WebKitHitTestResult*,
                                  gpointer self) {
    std::vector<WebKitContextMenuItem*> dropped;
    for (GList* node = webkit_context_menu_get_items(menu); node != nullptr; node = node->next) {
        auto* item = static_cast<WebKitContextMenuItem*>(node->data);
        if (!keepsContextMenuItem(item)) {
            dropped.push_back(item);
        }
    }
    for (auto* item : dropped) {
        webkit_context_menu_remove(menu, item);
    }
    static_cast<PageWebView*>(self)->appendHostItems(menu);
    return FALSE;
}

void PageWebView::appendHostItems(WebKitContextMenu* menu) {
    const std::vector<MenuItem> items = menuItems_ ? menuItems_() : std::vector<MenuItem>();
    if (items.empty()) {
        return;
    }
    if (webkit_context_menu_get_n_items(menu) > 0) {
        webkit_context_menu_append(menu, webkit_context_menu_item_new_separator());
    }
    for (const MenuItem& item : items) {
        webkit_context_menu_append(menu, webkit_context_menu_item_new_from_gaction(
                                             item.action, item.label.c_str(), item.target));
    }
}

void PageWebView::loadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
    auto* host = static_cast<PageWebView*>(self);
    // A load cut short by a newer one finishes too, while the newer one is still loading.
    if (event == WEBKIT_LOAD_FINISHED && !webkit_web_view_is_loading(view) && host->loadFinished_) {
        host->loadFinished_();
    }
}

void PageWebView::processGone(WebKitWebView*, WebKitWebProcessTerminationReason, gpointer self) {
    auto* host = static_cast<PageWebView*>(self);
    if (host->loadFinished_) {
        host->loadFinished_();
    }
}

void PageWebView::messageReceived(WebKitUserContentManager*, JSCValue* body, gpointer self) {
    auto* host = static_cast<PageWebView*>(self);
    if (host->matchUpdate_) {
        host->matchUpdate_(body);
    }
}

void PageWebView::cursorMessageReceived(WebKitUserContentManager*, JSCValue* body, gpointer self) {
    auto* host = static_cast<PageWebView*>(self);
    if (host->cursorChanged_) {
        host->cursorChanged_(body);
    }
}

void PageWebView::refuseDrops() {
    // The engine's own drop target would navigate to a dropped file. Switching it off lets the
    // drop travel on to the window, whose drop target opens YAML files.
    auto controllers =
        core::GObjectPtr<GListModel>::adopt(gtk_widget_observe_controllers(widget()));
    const guint count = g_list_model_get_n_items(controllers.get());
    for (guint i = 0; i < count; ++i) {
        auto controller = core::GObjectPtr<GtkEventController>::adopt(
            GTK_EVENT_CONTROLLER(g_list_model_get_item(controllers.get(), i)));
        if (GTK_IS_DROP_TARGET(controller.get()) || GTK_IS_DROP_TARGET_ASYNC(controller.get()) ||
            GTK_IS_DROP_CONTROLLER_MOTION(controller.get())) {
            gtk_event_controller_set_propagation_phase(controller.get(), GTK_PHASE_NONE);
        }
    }
}

} // namespace quessel::app::web

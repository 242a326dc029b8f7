// Looking into a live page from a test: script results, and a local server that counts requests.
#include "tests/app/PageProbe.hpp"

#include "tests/support/MainLoop.hpp"

#include <giomm/inetaddress.h>
#include <giomm/inetsocketaddress.h>

#include <optional>

namespace quessel::testing {
namespace {

struct Evaluation {
    std::optional<std::string> result;
};

void evaluated(GObject* source, GAsyncResult* asyncResult, gpointer data) {
    auto* evaluation = static_cast<Evaluation*>(data);
    GError* error = nullptr;
    JSCValue* value =
        webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), asyncResult, &error);
    if (value == nullptr) {
        evaluation->result = std::string("error: ") + (error != nullptr ? error->message : "");
        g_clear_error(&error);
        return;
    }
    char* text = jsc_value_to_string(value);
    evaluation->result = text != nullptr ? text : "";
    g_free(text);
    g_object_unref(value);
}

} // namespace

std::string evaluate(WebKitWebView* view, const std::string& script) {
    Evaluation evaluation;
    webkit_web_view_evaluate_javascript(view, script.c_str(), static_cast<gssize>(script.size()),
                                        nullptr, nullptr, nullptr, &evaluated, &evaluation);
    if (!runUntil([&] { return evaluation.result.has_value(); })) {
        return "error: timed out";
    }
    return *evaluation.result;
}

bool waitForPage(WebKitWebView* view, const std::string& condition) {
    return runUntil([&] { return evaluate(view, "!!(" + condition + ")") == "true"; });
}

ConnectionCounter::ConnectionCounter() : service_(Gio::SocketService::create()) {
    auto address = Gio::InetSocketAddress::create(
        Gio::InetAddress::create_loopback(Gio::SocketFamily::IPV4), 0);
    Glib::RefPtr<Gio::SocketAddress> bound;
    service_->add_address(address, Gio::Socket::Type::STREAM, Gio::Socket::Protocol::TCP, bound);
    port_ = std::dynamic_pointer_cast<Gio::InetSocketAddress>(bound)->get_port();
    service_->signal_incoming().connect(
        [this](const Glib::RefPtr<Gio::SocketConnection>& connection,
               const Glib::RefPtr<Glib::Object>&) {
            ++connections_;
            connection->close();
            return true;
        },
        false);
    service_->start();
}

ConnectionCounter::~ConnectionCounter() {
    service_->stop();
}

std::string ConnectionCounter::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

} // namespace quessel::testing

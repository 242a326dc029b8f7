// Looking into a live page from a test: script results, and a local server that counts requests.
#pragma once

#include <giomm/socketservice.h>
#include <webkit/webkit.h>

#include <string>

namespace quessel::testing {

// Evaluates script text in the page and returns its result converted to text (errors come back
// as "error: " and the message), waiting for the engine.
std::string evaluate(WebKitWebView* view, const std::string& script);

// Waits until the script expression evaluates to true in the page; returns whether it did.
bool waitForPage(WebKitWebView* view, const std::string& condition);

// A TCP listener on the loopback interface that counts every connection made to it, so a test
// can prove the page reached out to nothing.
class ConnectionCounter {
public:
    ConnectionCounter();
    ConnectionCounter(const ConnectionCounter&) = delete;
    ConnectionCounter& operator=(const ConnectionCounter&) = delete;
    ~ConnectionCounter();

    std::string url(const std::string& path = "/") const;
    int connections() const { return connections_; }

private:
    Glib::RefPtr<Gio::SocketService> service_;
    guint16 port_ = 0;
    int connections_ = 0;
};

} // namespace quessel::testing

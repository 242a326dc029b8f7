// Timing instruments inside a page in the real web engine, for the large-document benchmark.
#include "bench/app/PageInstruments.hpp"

#include "viewer_core/GObjectPtr.hpp"

#include <functional>
#include <memory>
#include <utility>

namespace quessel::bench {
namespace {

// Runs before the page's own script, in the page's world. The matchUpdate channel object is the
// one the page's script posts to, so wrapping its postMessage sees every message the host gets.
constexpr const char* instrumentScript = R"js(
(function () {
    'use strict';
    if (window.__bench) {
        return;
    }
    var bench = {messages: 0, lastMessage: 0, waiters: []};
    window.__bench = bench;

    function afterPaint() {
        return new Promise(function (resolve) {
            requestAnimationFrame(function () {
                setTimeout(function () { resolve(performance.now()); }, 0);
            });
        });
    }
    bench.afterPaint = afterPaint;

    function linesInView() {
        var root = document.getElementById('virtual-content');
        var candidates = root ? root.querySelectorAll('.line, .raw-line')
                              : [document.querySelector('.line, .raw-line')];
        for (var i = 0; i < candidates.length; i++) {
            var line = candidates[i];
            if (!line || !line.textContent) {
                continue;
            }
            // A hidden probe that measures the row pitch is no painted line.
            var box = line.getBoundingClientRect();
            if (box.height > 0 && box.bottom > 0 && box.top < window.innerHeight &&
                getComputedStyle(line).visibility !== 'hidden') {
                return true;
            }
        }
        return false;
    }

    bench.firstLines = new Promise(function (resolve) {
        function check() {
            afterPaint().then(function (now) {
                if (document.body && linesInView()) {
                    resolve(now);
                } else {
                    check();
                }
            });
        }
        check();
    });

    function wrapChannel() {
        var handlers = window.webkit && window.webkit.messageHandlers;
        var channel = handlers && handlers.matchUpdate;
        if (!channel || channel.__benchWrapped) {
            return;
        }
        var post = channel.postMessage;
        channel.postMessage = function (message) {
            bench.messages++;
            bench.lastMessage = performance.now();
            var result = post.call(channel, message);
            bench.waiters.splice(0).forEach(function (wake) { wake(); });
            return result;
        };
        channel.__benchWrapped = true;
        // The engine makes a new channel object, without the wrapper, once nothing refers to
        // the old one and it has been collected.
        bench.channel = channel;
    }
    wrapChannel();

    function nextMessage(limit) {
        return new Promise(function (resolve) {
            bench.waiters.push(resolve);
            setTimeout(resolve, limit);
        });
    }

    bench.measure = async function (action, expectsMessage) {
        wrapChannel();
        var before = bench.messages;
        var start = performance.now();
        action();
        var returned = performance.now() - start;
        var limit = start + 120000;
        while (expectsMessage && bench.messages === before && performance.now() < limit) {
            await nextMessage(limit - performance.now());
        }
        var message = bench.messages > before ? bench.lastMessage - start : -1;
        var painted = (await afterPaint()) - start;
        return [returned, message, painted];
    };

    function scroller() {
        var page = document.scrollingElement || document.documentElement;
        if (page.scrollHeight > window.innerHeight + 1) {
            return null;
        }
        return document.getElementById('virtual-content');
    }

    bench.scroll = async function (duration, step) {
        var own = scroller();
        var position = function () { return own ? own.scrollTop : window.scrollY; };
        var by = function (y) { if (own) { own.scrollBy(0, y); } else { window.scrollBy(0, y); } };
        if (own) { own.scrollTop = 0; } else { window.scrollTo(0, 0); }
        await afterPaint();
        var from = position();
        var times = [];
        await new Promise(function (resolve) {
            function frame() {
                var now = performance.now();
                times.push(now);
                if (now - times[0] >= duration) {
                    resolve();
                    return;
                }
                by(step);
                requestAnimationFrame(frame);
            }
            requestAnimationFrame(frame);
        });
        var intervals = [];
        for (var i = 1; i < times.length; i++) {
            intervals.push(times[i] - times[i - 1]);
        }
        intervals.push(position() - from);
        return intervals;
    };
})();
)js";

struct Outcome {
    bool done = false;
    core::GObjectPtr<JSCValue> value;
};

// Iterates the main loop until `done` or the timeout; a short timer keeps it waking.
void iterateUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const guint timer = g_timeout_add(
        10, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        g_main_context_iteration(nullptr, TRUE);
    }
    g_source_remove(timer);
}

core::GObjectPtr<JSCValue> call(WebKitWebView* view, const std::string& body,
                                const std::string& text, std::chrono::milliseconds timeout) {
    GVariantBuilder arguments;
    g_variant_builder_init(&arguments, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&arguments, "{sv}", "text", g_variant_new_string(text.c_str()));
    // Shared with the callback, which may outlive this call when the engine does not answer.
    auto outcome = std::make_shared<Outcome>();
    webkit_web_view_call_async_javascript_function(
        view, body.c_str(), static_cast<gssize>(body.size()), g_variant_builder_end(&arguments),
        nullptr, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            const std::unique_ptr<std::shared_ptr<Outcome>> out(
                static_cast<std::shared_ptr<Outcome>*>(data));
            GError* error = nullptr;
            (*out)->value = core::GObjectPtr<JSCValue>::adopt(
                webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(source),
                                                                      result, &error));
            if (error != nullptr) {
                g_error_free(error);
            }
            (*out)->done = true;
        },
        new std::shared_ptr<Outcome>(outcome));
    iterateUntil([&outcome] { return outcome->done; }, timeout);
    if (!outcome->done) {
        return {};
    }
    return std::move(outcome->value);
}

} // namespace

void setDisplayDefaults() {
    for (const auto& [name, value] :
         {std::pair{"GSK_RENDERER", "cairo"}, std::pair{"GDK_BACKEND", "x11"},
          std::pair{"WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS", "1"},
          std::pair{"WEBKIT_DISABLE_COMPOSITING_MODE", "1"},
          std::pair{"LIBGL_ALWAYS_SOFTWARE", "1"}, std::pair{"GTK_A11Y", "none"}}) {
        g_setenv(name, value, FALSE);
    }
}

void addPageInstruments(WebKitWebView* view) {
    WebKitUserScript* script =
        webkit_user_script_new(instrumentScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(webkit_web_view_get_user_content_manager(view), script);
    webkit_user_script_unref(script);
}

std::optional<std::vector<double>> callInPage(WebKitWebView* view, const std::string& body,
                                              const std::string& text,
                                              std::chrono::milliseconds timeout) {
    const auto value = call(view, body, text, timeout);
    if (!value) {
        return std::nullopt;
    }
    if (jsc_value_is_number(value.get())) {
        return std::vector<double>{jsc_value_to_double(value.get())};
    }
    if (!jsc_value_is_array(value.get())) {
        return std::nullopt;
    }
    auto length =
        core::GObjectPtr<JSCValue>::adopt(jsc_value_object_get_property(value.get(), "length"));
    std::vector<double> numbers;
    const auto count = static_cast<guint>(jsc_value_to_int32(length.get()));
    numbers.reserve(count);
    for (guint index = 0; index < count; ++index) {
        auto element = core::GObjectPtr<JSCValue>::adopt(
            jsc_value_object_get_property_at_index(value.get(), index));
        if (!jsc_value_is_number(element.get())) {
            return std::nullopt;
        }
        numbers.push_back(jsc_value_to_double(element.get()));
    }
    return numbers;
}

std::optional<std::string> textFromPage(WebKitWebView* view, const std::string& body,
                                        const std::string& text,
                                        std::chrono::milliseconds timeout) {
    const auto value = call(view, body, text, timeout);
    if (!value || !jsc_value_is_string(value.get())) {
        return std::nullopt;
    }
    std::unique_ptr<char, decltype(&g_free)> string(jsc_value_to_string(value.get()), &g_free);
    return std::string(string.get());
}

std::optional<std::vector<double>> pageMilestones(WebKitWebView* view) {
    return callInPage(view, R"js(
        const painted = await window.__bench.firstLines;
        const origin = performance.timeOrigin;
        const navigation = performance.getEntriesByType('navigation')[0];
        const response = navigation ? navigation.responseEnd : -1;
        const interactive = navigation ? navigation.domInteractive : -1;
        return [origin, origin + response, origin + interactive, origin + painted];
    )js");
}

} // namespace quessel::bench

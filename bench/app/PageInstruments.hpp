// Timing instruments inside a page in the real web engine, for the large-document benchmark.
#pragma once

#include <webkit/webkit.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quessel::bench {

// Adds, to every page the view loads from now on, a script that runs before the page's own and
// keeps `window.__bench`:
//   firstLines   a promise of the performance.now() of the first frame painted with lines in
//                view (`.line` / `.raw-line` elements holding text);
//   measure(action, expectsMessage)
//                runs `action()` and resolves to [call, message, painted]: milliseconds from the
//                call to its return, to the page's matchUpdate (-1 when none came), and to the
//                first frame painted after both;
//   scroll(ms, step)
//                scrolls by `step` px every frame for `ms` and resolves to the frame intervals
//                followed by the distance scrolled.
// "Painted" is a task run after the next animation frame: the engine paints a frame between its
// animation-frame callbacks and the tasks queued by them.
void addPageInstruments(WebKitWebView* view);

// Sets the display settings the engine tests use, where the environment does not set them
// (GSK_RENDERER=cairo GDK_BACKEND=x11 WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS=1
// WEBKIT_DISABLE_COMPOSITING_MODE=1 LIBGL_ALWAYS_SOFTWARE=1 GTK_A11Y=none); before GTK starts.
void setDisplayDefaults();

// Runs `body` as an async function in the page with the string arguments `text` and `id`, waits
// for its promise, and returns its result as numbers (one for a number, all for an array of
// numbers); nothing when it threw, did not answer in time, or returned something else.
std::optional<std::vector<double>>
callInPage(WebKitWebView* view, const std::string& body, const std::string& text = {},
           std::chrono::milliseconds timeout = std::chrono::minutes(10));

// The same for a function that returns a string.
std::optional<std::string>
textFromPage(WebKitWebView* view, const std::string& body, const std::string& text = {},
             std::chrono::milliseconds timeout = std::chrono::minutes(10));

// The page's navigation timing, in milliseconds since 1970 (performance.timeOrigin and the
// navigation entry's responseEnd and domInteractive), and the first lines' paint on the same
// scale: [origin, responseEnd, domInteractive, firstLines].
std::optional<std::vector<double>> pageMilestones(WebKitWebView* view);

} // namespace quessel::bench

// How long the real web engine takes to show a generated page: from handing it the bytes to the
// page script's first matchUpdate, for the generated 1 MB and 10 MB documents.
//
// Method: the page is loaded with webkit_web_view_load_bytes, as the web view host does, into a
// WebKitWebView in a window. "finished" is the load-changed signal's WEBKIT_LOAD_FINISHED (the
// document parsed, the page script run). The page sends nothing by itself, so the program then
// evaluates highlightMatches('') and takes the arrival of its matchUpdate as "first message":
// the earliest moment the page can answer the host. Run under scripts/with-display.
#include "bench/DocumentGenerator.hpp"
#include "page/PageGenerator.hpp"
#include "tests/page/support/WebPageHarness.hpp"

#include <gtk/gtk.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using quessel::page::test::WebPageHarness;

double seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

bool measure(std::size_t megabytes) {
    const std::string& text = quessel::bench::benchmarkDocument(megabytes);
    const quessel::page::PageGenerator generator([] { return quessel::page::Appearance::light; });
    const std::string page = generator.generateHTML(text, 14);
    WebPageHarness harness;
    const std::chrono::minutes patience(5);
    const auto start = Clock::now();
    if (!harness.load(page, patience)) {
        std::printf("%zu MB: the page did not finish loading within 5 minutes\n", megabytes);
        return false;
    }
    const auto finished = Clock::now();
    harness.evaluate("highlightMatches('')", patience);
    if (!harness.waitForMatchUpdates(1, patience)) {
        std::printf("%zu MB: no matchUpdate arrived\n", megabytes);
        return false;
    }
    const auto answered = Clock::now();
    std::printf("%2zu MB YAML, %6.1f MB page: load_bytes -> load finished %7.2f s, "
                "-> first matchUpdate %7.2f s\n",
                megabytes, static_cast<double>(page.size()) / 1e6, seconds(finished - start),
                seconds(answered - start));
    return true;
}

} // namespace

int main() {
    if (!gtk_init_check()) {
        std::fprintf(stderr, "PageLoadTiming needs a display: run it under scripts/with-display\n");
        return EXIT_FAILURE;
    }
    bool measured = true;
    for (const std::size_t megabytes : {1, 10}) {
        measured = measure(megabytes) && measured;
    }
    return measured ? EXIT_SUCCESS : EXIT_FAILURE;
}

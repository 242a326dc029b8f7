// The tree cursor on the virtualised page of generated 10 and 50 MiB documents in the real web
// engine: a key press that moves the cursor one row, and one that moves it a screen beyond the
// rows painted, until the next frame is painted; Expand All, Collapse All and Expand to Level 2
// from the call until painted; the view state the host keeps across a new page, taken as JSON
// text and restored from it over every node open, with a short and a long list of paths. Each
// page is loaded once per size; the times are taken inside the page (see PageInstruments), so
// the engine's own process does not add its messaging.
//
//   cmake --preset release && cmake --build --preset release --target quessel_tree_cursor_bench
//   scripts/with-display build/release/bench/app/quessel_tree_cursor_bench
#include "bench/DocumentGenerator.hpp"
#include "bench/app/PageInstruments.hpp"
#include "page/PageGenerator.hpp"
#include "tests/page/support/WebPageHarness.hpp"

#include <benchmark/benchmark.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

namespace {

using quessel::page::test::WebPageHarness;
namespace bench = quessel::bench;

// The loaded page of each size, kept for every benchmark of that size.
WebPageHarness& pageOf(std::size_t megabytes) {
    static std::map<std::size_t, std::unique_ptr<WebPageHarness>> pages;
    if (!pages.contains(megabytes)) {
        // One page process at a time: a 50 MiB page takes most of a gigabyte.
        pages.clear();
    }
    auto& page = pages[megabytes];
    if (!page) {
        page = std::make_unique<WebPageHarness>();
        bench::addPageInstruments(page->view());
        const quessel::page::PageGenerator generator(
            [] { return quessel::page::Appearance::light; }, quessel::page::PageKind::virtualised);
        page->load(generator.generateHTML(bench::generateDocument(megabytes * 1024 * 1024), 14),
                   std::chrono::minutes(10));
        bench::callInPage(page->view(), "await window.__bench.firstLines; return 0;");
        // The tree's structure is built in the background after the first paint; a first
        // whole-tree change waits for it, so that no timed step pays for it.
        bench::callInPage(page->view(), "expandAll(); placeCursor({document: null, steps: []});"
                                        "return 0;");
    }
    return *page;
}

// Milliseconds from calling `action` to the next painted frame.
double paintedAfter(WebPageHarness& page, const std::string& action) {
    const auto times = bench::callInPage(page.view(), "return await window.__bench.measure(() => " +
                                                          action + ", false);");
    return times && times->size() == 3 ? (*times)[2] : -1;
}

std::string keyPress(const std::string& key) {
    return "document.body.dispatchEvent(new KeyboardEvent('keydown', {key: '" + key +
           "', bubbles: true, cancelable: true}))";
}

// Times `action` each iteration after `prepare` (untimed) has set the page up for it.
void timed(benchmark::State& state, const std::string& prepare, const std::string& action) {
    WebPageHarness& page = pageOf(static_cast<std::size_t>(state.range(0)));
    double worst = 0;
    for (auto _ : state) {
        if (!prepare.empty()) {
            paintedAfter(page, prepare);
        }
        const double painted = paintedAfter(page, action);
        if (painted < 0) {
            state.SkipWithError("the page did not answer");
            return;
        }
        worst = std::max(worst, painted);
        state.SetIterationTime(painted / 1000.0);
    }
    state.counters["worst_ms"] = worst;
}

void CursorDown(benchmark::State& state) {
    timed(state, "", keyPress("j"));
}

void CursorPageDown(benchmark::State& state) {
    timed(state, "", keyPress("PageDown"));
}

void ExpandAll(benchmark::State& state) {
    timed(state, "collapseAll()", "expandAll()");
}

void CollapseAll(benchmark::State& state) {
    timed(state, "expandAll()", "collapseAll()");
}

void ExpandToLevel2(benchmark::State& state) {
    timed(state, "expandAll()", "expandToLevel(2)");
}

// The view state taken as JSON text with the document opened `levels` deep, and restored from
// it over every node open.
void captureView(benchmark::State& state, int levels) {
    timed(state, "expandToLevel(" + std::to_string(levels) + ")",
          "window.keptView = JSON.stringify(viewState())");
}

void restoreView(benchmark::State& state, int levels) {
    timed(state,
          "(expandToLevel(" + std::to_string(levels) +
              "), window.keptView = JSON.stringify(viewState()), expandAll())",
          "restoreViewState(JSON.parse(window.keptView))");
}

// Two levels: a few paths. Four: every record's nodes but the innermost open, hundreds of
// thousands of paths at 50 MiB.
void CaptureView(benchmark::State& state) {
    captureView(state, 2);
}

void RestoreView(benchmark::State& state) {
    restoreView(state, 2);
}

void CaptureLongView(benchmark::State& state) {
    captureView(state, 4);
}

void RestoreLongView(benchmark::State& state) {
    restoreView(state, 4);
}

void registerSize(int megabytes) {
    for (const auto& [name, function, iterations] :
         {std::tuple{"CursorDown", &CursorDown, 40},
          std::tuple{"CursorPageDown", &CursorPageDown, 40},
          std::tuple{"ExpandAll", &ExpandAll, 10}, std::tuple{"CollapseAll", &CollapseAll, 10},
          std::tuple{"ExpandToLevel2", &ExpandToLevel2, 10},
          std::tuple{"CaptureView", &CaptureView, 10}, std::tuple{"RestoreView", &RestoreView, 10},
          std::tuple{"CaptureLongView", &CaptureLongView, 5},
          std::tuple{"RestoreLongView", &RestoreLongView, 5}}) {
        benchmark::RegisterBenchmark(name, function)
            ->Arg(megabytes)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(iterations);
    }
}

// Size by size, so that each page is loaded once.
void registerAll() {
    for (const int megabytes : {10, 50}) {
        registerSize(megabytes);
    }
}

} // namespace

int main(int argc, char** argv) {
    bench::setDisplayDefaults();
    if (!gtk_init_check()) {
        std::fprintf(stderr, "no display: run it under scripts/with-display\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

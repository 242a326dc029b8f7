// Large documents in the real web engine: how long a page of 1 to 100 MB of YAML takes to show,
// to answer a search keystroke, to reveal, collapse and expand a big subtree and to scroll, how
// much memory the engine's page process takes, and how long the window's main loop stalls while
// opening. Medians of --runs runs; every figure is a wall-clock time on this machine.
//
// Run it from a release build under a display, e.g.
//   cmake --preset release && cmake --build --preset release --target quessel_large_document_bench
//   scripts/with-display build/release/bench/app/quessel_large_document_bench --runs 3
// Options:
//   --runs N            runs per document (default 3); the tables give medians
//   --sizes 1,10,50     generated documents, in MiB (default 1,10,50; "" for none)
//   --100mb             adds the 100 MiB generated document
//   --corpus DIR        YAML files to measure as well (default: the build tree's unpacked corpus,
//                       folder large/, or $QUESSEL_CORPUS_DIR/large)
//   --page auto|markup|virtual
//                       the page kind for those documents (default auto, as in the window)
//   --markup-lines 500,1000,2000,5000
//                       all-markup pages of about that many lines (the threshold's curve)
//   --invalid-mb N      a generated N MiB document made invalid at its end, shown as the
//                       numbered listing (default 10; 0 skips it)
//   --window-mb N       opens a generated N MiB document in the real window and reports the
//                       longest main-loop stall (default 50; 0 skips it)
//   --scroll-ms MS      how long to scroll (default 2000), --scroll-step PX per frame (100)
// The display settings the engine tests use are applied unless already set in the environment
// (GSK_RENDERER=cairo GDK_BACKEND=x11 WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS=1
// WEBKIT_DISABLE_COMPOSITING_MODE=1 LIBGL_ALWAYS_SOFTWARE=1 GTK_A11Y=none).
//
// What the stages mean (milliseconds):
//   read      the file into memory          parse   the YAML loaded alone (page generation
//   generate  page generation, parse included         parses again; shown for the split)
//   origin    load_bytes -> the engine's navigation start (performance.timeOrigin)
//   response  -> the page's bytes received   parsed  -> domInteractive (HTML parsed, inline
//   painted   -> first frame painted with lines in view      scripts run)
//   finished  -> the engine's load-finished   UI stall  the longest gap between 5 ms main-loop
//                                                      ticks of this process meanwhile
//   total     read + generate + painted: what a user waits for
// A keystroke is timed inside the page from calling highlightMatches (navigateMatch, toggle) to
// the page's matchUpdate message and to the first frame painted after it.
#include "app/BackgroundFileOpener.hpp"
#include "app/MainWindow.hpp"
#include "bench/DocumentGenerator.hpp"
#include "bench/app/DocumentShape.hpp"
#include "bench/app/PageInstruments.hpp"
#include "bench/app/StallWatch.hpp"
#include "bench/app/WebProcessMemory.hpp"
#include "page/PageGenerator.hpp"
#include "page/PageKind.hpp"
#include "tests/page/support/WebPageHarness.hpp"
#include "yaml/Load.hpp"

#include <adwaita.h>
#include <gtk/gtk.h>
#include <gtkmm/init.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using quessel::page::test::WebPageHarness;
namespace fs = std::filesystem;
namespace bench = quessel::bench;
using quessel::bench::StallWatch;

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double wallMilliseconds() {
    return static_cast<double>(g_get_real_time()) / 1000.0;
}

struct Options {
    int runs = 3;
    std::vector<std::size_t> megabytes{1, 10, 50};
    fs::path corpus;
    std::string page = "auto";
    std::vector<std::size_t> markupLines{500, 1000, 2000, 5000};
    std::size_t windowMegabytes = 50;
    std::size_t invalidMegabytes = 10;
    int scrollMilliseconds = 2000;
    int scrollStep = 100;
};

struct Document {
    std::string label;
    fs::path path;
    std::string page; // auto, markup or virtual
};

// Every figure of every run under a name; the tables print medians.
class Figures {
public:
    void add(const std::string& name, double value) { values_[name].push_back(value); }
    std::optional<double> median(const std::string& name) const {
        const auto found = values_.find(name);
        if (found == values_.end() || found->second.empty()) {
            return std::nullopt;
        }
        std::vector<double> sorted = found->second;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t middle = sorted.size() / 2;
        return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }
    std::string pageKind; // the page the engine showed: markup or virtual
    std::map<std::string, std::string> notes;

private:
    std::map<std::string, std::vector<double>> values_;
};

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

quessel::page::PageGenerator generatorFor(const std::string& page) {
    using quessel::page::PageKind;
    const PageKind kind = page == "markup"    ? PageKind::markup
                          : page == "virtual" ? PageKind::virtualised
                                              : PageKind::automatic;
    return quessel::page::PageGenerator([] { return quessel::page::Appearance::light; }, kind);
}

std::string measureBody(const std::string& action, bool expectsMessage) {
    return "return await window.__bench.measure(() => " + action + ", " +
           (expectsMessage ? "true" : "false") + ");";
}

// A keystroke's [call, message, painted] under `name`, and the total it reported.
void keystroke(WebPageHarness& harness, Figures& figures, const std::string& name,
               const std::string& action, const std::string& text) {
    const std::size_t before = harness.matchUpdates().size();
    const auto times = bench::callInPage(harness.view(), measureBody(action, true), text);
    if (!times || times->size() != 3) {
        figures.notes[name] = "failed";
        return;
    }
    std::fprintf(stderr, "  %-12s returned %8.1f ms, message %8.1f ms, painted %8.1f ms\n",
                 name.c_str(), (*times)[0], (*times)[1], (*times)[2]);
    figures.add(name + ".message", (*times)[1]);
    figures.add(name + ".painted", (*times)[2]);
    if (harness.matchUpdates().size() > before) {
        figures.add(name + ".total", harness.matchUpdates().back().total);
    }
}

bool currentMatchVisible(WebPageHarness& harness) {
    // A smooth scroll takes a few frames to bring the match into view.
    const auto visible = bench::callInPage(harness.view(), R"js(
        for (let frame = 0; frame < 90; frame++) {
            const mark = document.querySelector('mark.highlight.current');
            const box = mark && mark.getBoundingClientRect();
            if (box && box.height > 0 && box.bottom > 0 && box.top < window.innerHeight) {
                return 1;
            }
            await window.__bench.afterPaint();
        }
        return 0;
    )js");
    return visible && !visible->empty() && (*visible)[0] == 1;
}

// The id of the toggle on the subtree's own line: the first current match of its key that sits
// on a collapsible line at depth 0.
std::string findSubtreeToggle(WebPageHarness& harness, const std::string& key) {
    const auto id = bench::textFromPage(harness.view(), R"js(
        highlightMatches(text);
        await window.__bench.afterPaint();
        let found = '';
        for (let step = 0; step < 500 && !found; step++) {
            const mark = document.querySelector('mark.highlight.current');
            const line = mark && mark.closest('.line');
            const toggle = line && line.querySelector(':scope > .toggle');
            if (toggle && getComputedStyle(line).paddingLeft === '0px') {
                found = toggle.id.replace(/^toggle-/, '');
            } else {
                navigateMatch(true);
                await window.__bench.afterPaint();
            }
        }
        return found;
    )js",
                                        key);
    bench::callInPage(harness.view(), measureBody("highlightMatches('')", true));
    return id.value_or("");
}

void treeOperations(WebPageHarness& harness, Figures& figures, const bench::SubtreeTarget& target) {
    const std::string id = findSubtreeToggle(harness, target.key);
    if (id.empty()) {
        figures.notes["tree"] = "subtree line not found";
        return;
    }
    const auto paintedAfter = [&](const std::string& action, bool message,
                                  const std::string& text) {
        const auto times = bench::callInPage(harness.view(), measureBody(action, message), text);
        std::fprintf(stderr, "  %-12s painted %8.1f ms\n", action.c_str(),
                     times && times->size() == 3 ? (*times)[2] : -1.0);
        return times && times->size() == 3 ? std::optional((*times)[2]) : std::nullopt;
    };
    if (const auto collapse = paintedAfter("toggle(text)", false, id)) {
        figures.add("collapse", *collapse);
    }
    if (const auto expand = paintedAfter("toggle(text)", false, id)) {
        figures.add("expand", *expand);
    }
    // The first match of a new search, and then the next one, inside the collapsed subtree.
    paintedAfter("toggle(text)", false, id);
    keystroke(harness, figures, "into.search", "highlightMatches(text)", target.insideText);
    const bool searchRevealed = currentMatchVisible(harness);
    figures.add("into.search.revealed", searchRevealed ? 1 : 0);
    if (searchRevealed) {
        paintedAfter("toggle(text)", false, id); // collapse it again
    }
    keystroke(harness, figures, "into.next", "navigateMatch(true)", "");
    const bool nextRevealed = currentMatchVisible(harness);
    figures.add("into.next.revealed", nextRevealed ? 1 : 0);
    if (!nextRevealed) {
        paintedAfter("toggle(text)", false, id);
    }
    bench::callInPage(harness.view(), measureBody("highlightMatches('')", true));
}

void scrolling(WebPageHarness& harness, Figures& figures, const Options& options) {
    const auto result =
        bench::callInPage(harness.view(), "return await window.__bench.scroll(" +
                                              std::to_string(options.scrollMilliseconds) + ", " +
                                              std::to_string(options.scrollStep) + ");");
    if (!result || result->size() < 2) {
        figures.notes["scroll"] = "failed";
        return;
    }
    std::vector<double> intervals(result->begin(), result->end() - 1);
    figures.add("scroll.distance", result->back());
    figures.add("scroll.frames", static_cast<double>(intervals.size()));
    std::sort(intervals.begin(), intervals.end());
    figures.add("scroll.median", intervals[intervals.size() / 2]);
    figures.add("scroll.max", intervals.back());
    // Frames that missed two refreshes of a 60 Hz display.
    figures.add("scroll.slow", static_cast<double>(
                                   std::count_if(intervals.begin(), intervals.end(),
                                                 [](double interval) { return interval > 33.4; })));
}

// One run: a fresh web view (and page process), the document opened, then every interaction.
bool measureRun(const Document& document, const Options& options, Figures& figures) {
    const auto readStart = Clock::now();
    const std::string text = readFile(document.path);
    const auto readEnd = Clock::now();
    const auto value = [&]() -> std::optional<quessel::yaml::YamlValue> {
        try {
            return quessel::yaml::load(text);
        } catch (...) {
            return std::nullopt;
        }
    }();
    const auto parseEnd = Clock::now();
    const auto generator = generatorFor(document.page);
    const std::string page = generator.generateHTML(text, 14);
    const auto generateEnd = Clock::now();
    figures.add("read", milliseconds(readEnd - readStart));
    figures.add("parse", milliseconds(parseEnd - readEnd));
    figures.add("generate", milliseconds(generateEnd - parseEnd));
    figures.add("yaml.mb", static_cast<double>(text.size()) / 1e6);
    figures.add("html.mb", static_cast<double>(page.size()) / 1e6);
    // A document that does not load is shown as its numbered lines.
    figures.add("lines", value ? static_cast<double>(bench::pageLines(*value))
                               : static_cast<double>(std::count(text.begin(), text.end(), '\n')));

    std::optional<pid_t> process;
    {
        WebPageHarness harness;
        bench::addPageInstruments(harness.view());
        // The window's view has its page process already: start one before the clock does.
        harness.load("<!DOCTYPE html><title>warm-up</title>");
        const double loadStart = wallMilliseconds();
        const auto hostStart = Clock::now();
        StallWatch watch;
        if (!harness.load(page, std::chrono::minutes(10))) {
            std::fprintf(stderr, "%s: the page did not load\n", document.label.c_str());
            return false;
        }
        figures.add("finished", milliseconds(Clock::now() - hostStart));
        figures.add("ui.stall", milliseconds(watch.longest()));
        const auto milestones = bench::pageMilestones(harness.view());
        if (!milestones || milestones->size() != 4) {
            std::fprintf(stderr, "%s: no lines were painted\n", document.label.c_str());
            return false;
        }
        figures.add("origin", (*milestones)[0] - loadStart);
        figures.add("response", (*milestones)[1] - loadStart);
        figures.add("parsed", (*milestones)[2] - loadStart);
        figures.add("painted", (*milestones)[3] - loadStart);
        figures.add("total", milliseconds(generateEnd - readStart) -
                                 milliseconds(parseEnd - readEnd) + ((*milestones)[3] - loadStart));
        std::fprintf(stderr, "  open: painted %.0f ms after load_bytes\n",
                     (*milestones)[3] - loadStart);
        figures.pageKind =
            bench::textFromPage(harness.view(), "return document.getElementById('virtual-content')"
                                                " ? 'virtual' : 'markup';")
                .value_or("?");
        process = bench::newestWebProcess();

        // The first keystroke right after the open may pay for the search's own preparation
        // (a page may build its search data in slices after the first paint); "e" is timed
        // again once the other keystrokes have run.
        keystroke(harness, figures, "clear", "highlightMatches(text)", "");
        keystroke(harness, figures, "first e", "highlightMatches(text)", "e");
        keystroke(harness, figures, "clear", "highlightMatches(text)", "");
        for (const char* typed : {"n", "na", "nam", "name"}) {
            keystroke(harness, figures, typed, "highlightMatches(text)", typed);
        }
        keystroke(harness, figures, "clear", "highlightMatches(text)", "");
        keystroke(harness, figures, "absent", "highlightMatches(text)", "zqxjv");
        keystroke(harness, figures, "clear", "highlightMatches(text)", "");
        keystroke(harness, figures, "e", "highlightMatches(text)", "e");
        keystroke(harness, figures, "clear", "highlightMatches(text)", "");

        if (const auto target = value ? bench::biggestTopLevelSubtree(*value) : std::nullopt) {
            figures.notes["subtree"] = target->key + " (" + std::to_string(target->lines) +
                                       " lines), searching \"" + target->insideText + "\"";
            figures.add("subtree.lines", static_cast<double>(target->lines));
            treeOperations(harness, figures, *target);
        } else {
            figures.notes["subtree"] = "no big top-level subtree with a text of its own";
        }
        scrolling(harness, figures, options);

        if (process) {
            if (const auto memory = bench::processMemory(*process)) {
                figures.add("memory.peak", static_cast<double>(memory->peakBytes) / 1e6);
                figures.add("memory.resident", static_cast<double>(memory->residentBytes) / 1e6);
            }
        }
    }
    if (process) {
        bench::retireWebProcess(*process);
    }
    return true;
}

// ----- the window ------------------------------------------------------------------------------

void iterateFor(std::chrono::milliseconds duration) {
    const auto until = Clock::now() + duration;
    StallWatch keepAwake;
    while (Clock::now() < until) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

struct WindowFigures {
    double openCall = 0; // the time the open request took to return
    double painted = 0;  // open -> first lines painted
    double longestStall = 0;
    double stallEnd = 0; // when the longest stall ended, after the open
    int longGaps = 0;
    int ticks = 0;
};

std::optional<WindowFigures> measureWindowOpen(const fs::path& path) {
    quessel::core::ViewerAppState appState{"benchmarkRecentFiles", 5};
    quessel::app::MainWindow window{appState, quessel::core::SharedSettings::shared()};
    quessel::app::BackgroundFileOpener opener{appState, [](std::function<void()> then) { then(); }};
    window.present();
    while (!window.get_mapped()) {
        g_main_context_iteration(nullptr, TRUE);
    }
    iterateFor(std::chrono::milliseconds(500));
    WebKitWebView* view = window.content().renderedView().pageView().get();
    bench::addPageInstruments(view);
    int finishedLoads = 0;
    const gulong handler =
        g_signal_connect(view, "load-changed",
                         G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer count) {
                             if (event == WEBKIT_LOAD_FINISHED) {
                                 ++*static_cast<int*>(count);
                             }
                         }),
                         &finishedLoads);
    StallWatch watch;
    const double openStart = wallMilliseconds();
    const auto deadline = Clock::now() + std::chrono::minutes(10);
    watch.restart();
    const auto openCallStart = Clock::now();
    // The application's own open: the file is read on a worker and the model completes the open
    // on the main loop, where the stall watch sees it.
    opener.open(*quessel::core::FileUrl::fromPath(path.string()));
    const double openCall = milliseconds(Clock::now() - openCallStart);
    std::optional<WindowFigures> figures;
    int seenLoads = 0;
    while (!figures && Clock::now() < deadline) {
        g_main_context_iteration(nullptr, TRUE);
        if (finishedLoads == seenLoads) {
            continue;
        }
        seenLoads = finishedLoads;
        // A page shown on the way (none today) has no lines: its promise ends with the next load.
        const auto milestones = bench::pageMilestones(view);
        if (milestones && milestones->size() == 4) {
            // The tick that ends a stall still going on has not run yet.
            g_main_context_iteration(nullptr, FALSE);
            figures = WindowFigures{openCall,
                                    (*milestones)[3] - openStart,
                                    milliseconds(watch.longest()),
                                    watch.longestEndsAt(),
                                    watch.longGaps(),
                                    watch.ticks()};
        }
    }
    g_signal_handler_disconnect(view, handler);
    return figures;
}

// ----- output ----------------------------------------------------------------------------------

std::string cell(const Figures& figures, const std::string& name, const char* format = "%.0f") {
    const auto value = figures.median(name);
    if (!value) {
        return "n/a";
    }
    char text[64];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

std::string pair(const Figures& figures, const std::string& name) {
    return cell(figures, name + ".message") + " / " + cell(figures, name + ".painted");
}

void printRow(const std::vector<std::string>& cells, const std::vector<int>& widths) {
    std::string line = "|";
    for (std::size_t index = 0; index < cells.size(); ++index) {
        char text[256];
        std::snprintf(text, sizeof text, " %*s |", index == 0 ? -widths[index] : widths[index],
                      cells[index].c_str());
        line += text;
    }
    std::printf("%s\n", line.c_str());
}

void printTable(const char* title, const std::vector<std::string>& header,
                const std::vector<std::vector<std::string>>& rows) {
    std::vector<int> widths(header.size());
    for (std::size_t index = 0; index < header.size(); ++index) {
        widths[index] = static_cast<int>(header[index].size());
        for (const auto& row : rows) {
            widths[index] = std::max(widths[index], static_cast<int>(row[index].size()));
        }
    }
    std::printf("\n%s\n\n", title);
    printRow(header, widths);
    std::string rule = "|";
    for (std::size_t index = 0; index < header.size(); ++index) {
        rule += (index == 0 ? ":" : "-") +
                std::string(static_cast<std::size_t>(widths[index]), '-') +
                (index == 0 ? "-|" : ":|");
    }
    std::printf("%s\n", rule.c_str());
    for (const auto& row : rows) {
        printRow(row, widths);
    }
}

void printResults(const std::vector<std::pair<Document, Figures>>& results) {
    std::vector<std::vector<std::string>> open, search, tree, scroll;
    for (const auto& [document, figures] : results) {
        const std::string name = document.label;
        open.push_back({name, figures.pageKind, cell(figures, "yaml.mb", "%.1f"),
                        cell(figures, "lines"), cell(figures, "html.mb", "%.1f"),
                        cell(figures, "read"), cell(figures, "parse"), cell(figures, "generate"),
                        cell(figures, "origin"), cell(figures, "response"), cell(figures, "parsed"),
                        cell(figures, "painted"), cell(figures, "finished"),
                        cell(figures, "ui.stall"), cell(figures, "total")});
        search.push_back({name, pair(figures, "first e"), pair(figures, "e"), pair(figures, "n"),
                          pair(figures, "na"), pair(figures, "nam"), pair(figures, "name"),
                          pair(figures, "absent"), pair(figures, "clear"),
                          cell(figures, "e.total") + " / " + cell(figures, "name.total")});
        tree.push_back(
            {name, cell(figures, "subtree.lines"), cell(figures, "collapse"),
             cell(figures, "expand"), pair(figures, "into.search"), pair(figures, "into.next"),
             cell(figures, "into.search.revealed") + " / " + cell(figures, "into.next.revealed")});
        scroll.push_back({name, cell(figures, "scroll.frames"),
                          cell(figures, "scroll.median", "%.1f"),
                          cell(figures, "scroll.max", "%.1f"), cell(figures, "scroll.slow"),
                          cell(figures, "scroll.distance"), cell(figures, "memory.peak"),
                          cell(figures, "memory.resident")});
    }
    printTable("Open to first lines painted (ms from the start of each stage's clock; see the "
               "file's head)",
               {"document", "page", "YAML MB", "lines", "HTML MB", "read", "parse", "generate",
                "origin", "response", "parsed", "painted", "finished", "UI stall", "total"},
               open);
    printTable("Search keystrokes (ms from the call: to matchUpdate / to painted; \"first e\" is "
               "the first keystroke after the open, \"e\" the same later; totals of \"e\" / "
               "\"name\")",
               {"document", "first e", "e", "n", "na", "nam", "name", "absent", "clear", "totals"},
               search);
    printTable(
        "The biggest top-level subtree (ms to painted; into = the first and the next "
        "match inside it while collapsed: to matchUpdate / to painted; revealed 1/0)",
        {"document", "lines", "collapse", "expand", "into: search", "into: next", "revealed"},
        tree);
    printTable("Scrolling (frame intervals in ms) and the page process's memory (MB)",
               {"document", "frames", "median", "max", "> 33 ms", "scrolled px", "peak (VmHWM)",
                "resident after"},
               scroll);
    for (const auto& [document, figures] : results) {
        for (const auto& [what, note] : figures.notes) {
            std::printf("%s, %s: %s\n", document.label.c_str(), what.c_str(), note.c_str());
        }
    }
}

// ----- options ---------------------------------------------------------------------------------

std::vector<std::size_t> numbers(const std::string& list) {
    std::vector<std::size_t> out;
    std::istringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (!item.empty()) {
            out.push_back(static_cast<std::size_t>(std::stoul(item)));
        }
    }
    return out;
}

fs::path defaultCorpus() {
    if (const char* folder = std::getenv("QUESSEL_CORPUS_DIR")) {
        return fs::path(folder) / "large";
    }
#ifdef QUESSEL_CORPUS_DIR
    return fs::path(QUESSEL_CORPUS_DIR) / "large";
#else
    return {};
#endif
}

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    options.corpus = defaultCorpus();
    for (int index = 1; index < argc; ++index) {
        const std::string option = argv[index];
        const bool hasValue = index + 1 < argc;
        if (option == "--100mb") {
            options.megabytes.push_back(100);
        } else if (option == "--runs" && hasValue) {
            options.runs = std::max(1, std::atoi(argv[++index]));
        } else if (option == "--sizes" && hasValue) {
            options.megabytes = numbers(argv[++index]);
        } else if (option == "--corpus" && hasValue) {
            options.corpus = argv[++index];
        } else if (option == "--page" && hasValue) {
            options.page = argv[++index];
        } else if (option == "--markup-lines" && hasValue) {
            options.markupLines = numbers(argv[++index]);
        } else if (option == "--window-mb" && hasValue) {
            options.windowMegabytes = static_cast<std::size_t>(std::atol(argv[++index]));
        } else if (option == "--invalid-mb" && hasValue) {
            options.invalidMegabytes = static_cast<std::size_t>(std::atol(argv[++index]));
        } else if (option == "--scroll-ms" && hasValue) {
            options.scrollMilliseconds = std::max(100, std::atoi(argv[++index]));
        } else if (option == "--scroll-step" && hasValue) {
            options.scrollStep = std::atoi(argv[++index]);
        } else {
            std::fprintf(stderr,
                         "unknown option or missing value: %s (see the program's source "
                         "head for the options)\n",
                         option.c_str());
            return std::nullopt;
        }
    }
    if (options.page != "auto" && options.page != "markup" && options.page != "virtual") {
        std::fprintf(stderr, "--page takes auto, markup or virtual\n");
        return std::nullopt;
    }
    return options;
}

fs::path writeTemporary(const fs::path& folder, const std::string& name, const std::string& text) {
    const fs::path path = folder / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

} // namespace

int main(int argc, char** argv) {
    const auto options = parseOptions(argc, argv);
    if (!options) {
        return EXIT_FAILURE;
    }
    bench::setDisplayDefaults();
    // Recent files and settings go to a folder of this run's own, removed afterwards.
    char* made = g_dir_make_tmp("quessel-large-bench-XXXXXX", nullptr);
    const fs::path folder = made != nullptr ? made : "/tmp";
    g_free(made);
    g_setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), TRUE);
    if (!gtk_init_check()) {
        std::fprintf(stderr, "no display: run it under scripts/with-display\n");
        return EXIT_FAILURE;
    }
    Gtk::init_gtkmm_internals();
    adw_init();

    std::vector<Document> documents;
    for (const std::size_t megabytes : options->megabytes) {
        const std::string name = "generated " + std::to_string(megabytes) + " MB";
        documents.push_back({name,
                             writeTemporary(folder, name + ".yaml",
                                            bench::generateDocument(megabytes * 1024 * 1024)),
                             options->page});
    }
    std::error_code error;
    std::vector<fs::path> corpus;
    for (const auto& entry : fs::directory_iterator(options->corpus, error)) {
        corpus.push_back(entry.path());
    }
    std::sort(corpus.begin(), corpus.end());
    for (const auto& path : corpus) {
        documents.push_back({path.filename().string().substr(0, 40), path, options->page});
    }
    if (options->invalidMegabytes > 0) {
        // An unclosed flow sequence at the end: the whole text becomes the numbered listing.
        const std::string name = "invalid " + std::to_string(options->invalidMegabytes) + " MB";
        documents.push_back(
            {name,
             writeTemporary(folder, name + ".yaml",
                            bench::generateDocument(options->invalidMegabytes * 1024 * 1024) +
                                "broken: [unclosed\n"),
             options->page});
    }
    for (const std::size_t lines : options->markupLines) {
        const std::string name = "markup " + std::to_string(lines) + " lines";
        documents.push_back({name,
                             writeTemporary(folder, name + ".yaml", bench::documentOfLines(lines)),
                             "markup"});
    }

    std::printf("Quessel large documents in the real web engine: %d run(s) each, medians.\n",
                options->runs);
    std::vector<std::pair<Document, Figures>> results;
    for (const auto& document : documents) {
        Figures figures;
        for (int run = 1; run <= options->runs; ++run) {
            std::fprintf(stderr, "%s: run %d of %d\n", document.label.c_str(), run, options->runs);
            if (!measureRun(document, *options, figures)) {
                break;
            }
        }
        results.emplace_back(document, std::move(figures));
    }
    printResults(results);

    if (options->windowMegabytes > 0) {
        const std::string name = "window " + std::to_string(options->windowMegabytes) + " MB";
        const fs::path path =
            writeTemporary(folder, name + ".yaml",
                           bench::generateDocument(options->windowMegabytes * 1024 * 1024));
        std::vector<std::vector<std::string>> rows;
        for (int run = 1; run <= options->runs; ++run) {
            std::fprintf(stderr, "%s: run %d of %d\n", name.c_str(), run, options->runs);
            const auto figures = measureWindowOpen(path);
            const auto number = [](double value) {
                char text[32];
                std::snprintf(text, sizeof text, "%.0f", value);
                return std::string(text);
            };
            if (figures) {
                rows.push_back({name + ", run " + std::to_string(run), number(figures->openCall),
                                number(figures->painted), number(figures->longestStall),
                                number(figures->stallEnd), std::to_string(figures->longGaps),
                                std::to_string(figures->ticks)});
            } else {
                rows.push_back(
                    {name + ", run " + std::to_string(run), "failed", "", "", "", "", ""});
            }
        }
        printTable(
            "The window: opening a generated document until its first lines are painted "
            "(ms): the open request's call, open to painted, and the gaps between 5 ms main-loop "
            "ticks meanwhile (the longest, when it ended, how many exceeded 50 ms)",
            {"document", "open call", "open to painted", "longest stall", "ended at",
             "gaps > 50 ms", "ticks"},
            rows);
    }
    fs::remove_all(folder, error);
    return EXIT_SUCCESS;
}

// The document window under load: a keystroke in the editor of a 5 MB document up to the end of
// the window's refresh, the 1 MB benchmark document from open to the page's first answer, and
// the window's longest main-loop stall while the 1 MB document grows on disk like a log.
#include "app/FileFollower.hpp"
#include "app/MainWindow.hpp"
#include "bench/DocumentGenerator.hpp"
#include "bench/app/StallWatch.hpp"
#include "viewer_core/NotificationCenter.hpp"

#include <adwaita.h>
#include <benchmark/benchmark.h>
#include <gtkmm/init.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

void iterate(const std::function<bool()>& done) {
    while (!done()) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

void drain() {
    while (g_main_context_pending(nullptr)) {
        g_main_context_iteration(nullptr, FALSE);
    }
}

struct OpenWindow {
    explicit OpenWindow(std::size_t bytes) {
        char* made = g_dir_make_tmp("quessel-bench-XXXXXX", nullptr);
        folder = made;
        g_free(made);
        const auto path = folder / "document.yaml";
        std::ofstream(path, std::ios::binary) << quessel::bench::generateDocument(bytes);
        url = *quessel::core::FileUrl::fromPath(path.string());
        window.present();
        iterate([&] { return window.get_mapped(); });
    }
    ~OpenWindow() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::filesystem::path folder;
    quessel::core::FileUrl url = *quessel::core::FileUrl::fromPath("/");
    quessel::core::ViewerAppState appState{"benchmarkRecentFiles", 5};
    quessel::app::MainWindow window{appState, quessel::core::SharedSettings::shared()};
};

// One keystroke: the buffer edit, the text handed to the model, and the coalesced refresh.
void EditorKeystroke5MB(benchmark::State& state) {
    OpenWindow open(5 * 1024 * 1024);
    open.appState.openFile(open.url);
    open.appState.setIsEditing(true);
    open.window.content().refreshNow();
    drain();
    auto buffer = open.window.content().editor().textView().get_buffer();
    buffer->place_cursor(buffer->get_iter_at_offset(buffer->get_char_count() / 2));
    for (auto _ : state) {
        const auto start = Clock::now();
        buffer->insert_at_cursor("x");
        open.window.content().refreshNow();
        const auto end = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        drain(); // drawing the frame belongs to the compositor's budget, not the keystroke's
    }
    state.counters["document_bytes"] = static_cast<double>(open.appState.fileContent().size());
}
BENCHMARK(EditorKeystroke5MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

// From the open to the first matchUpdate of a search started as soon as the page has loaded.
void LoadToFirstMessage1MB(benchmark::State& state) {
    for (auto _ : state) {
        OpenWindow open(1024 * 1024);
        auto& content = open.window.content();
        WebKitWebView* view = content.renderedView().pageView().get();
        bool loaded = false;
        const gulong handler =
            g_signal_connect(view, "load-changed",
                             G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer flag) {
                                 if (event == WEBKIT_LOAD_FINISHED) {
                                     *static_cast<bool*>(flag) = true;
                                 }
                             }),
                             &loaded);
        content.setTotalMatches(-1);
        const auto start = Clock::now();
        open.appState.openFile(open.url);
        content.refreshNow();
        iterate([&] { return loaded; });
        const auto pageLoaded = Clock::now();
        quessel::core::NotificationCenter::defaultCenter().post(
            quessel::core::viewerSearchQueryChanged, std::string("name"));
        iterate([&] { return content.totalMatches() >= 0; });
        const auto answered = Clock::now();
        g_signal_handler_disconnect(view, handler);
        state.SetIterationTime(std::chrono::duration<double>(answered - start).count());
        state.counters["load_ms"] =
            std::chrono::duration<double, std::milli>(pageLoaded - start).count();
        state.counters["matches"] = content.totalMatches();
    }
}
BENCHMARK(LoadToFirstMessage1MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Another program appends a record to the open document every 100 ms for 10 s while the window
// follows it, on the rendered page: the window's longest stall over those 10 s and the 1.5 s
// after, and how many times the document was reloaded.
void GrowingFileStall1MB(benchmark::State& state) {
    for (auto _ : state) {
        OpenWindow open(1024 * 1024);
        auto& content = open.window.content();
        quessel::app::FileFollower follower(open.appState,
                                            [](std::function<void()> then) { then(); });
        follower.setReloadsWhenChanged(true);
        content.setFileFollower(&follower);
        open.appState.openFile(open.url);
        content.refreshNow();
        iterate([&] { return !content.renderedView().busy(); });
        int reloads = 0;
        sigc::connection counted =
            follower.signalReported().connect([&](const std::string&) { ++reloads; });

        std::atomic<bool> written{false};
        std::thread writer([path = open.url.path(), &written] {
            std::ofstream log(path, std::ios::binary | std::ios::app);
            for (int i = 0; i < 100; ++i) {
                log << "zz_log_" << 10000 + i << ": \"entry " << i << " of the growing log\"\n";
                log.flush();
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            written = true;
        });
        const auto start = Clock::now();
        double longest = 0;
        {
            quessel::bench::StallWatch watch;
            iterate([&] { return written.load(); });
            const auto settled = Clock::now() + std::chrono::milliseconds(1500);
            iterate([&] { return Clock::now() >= settled; });
            longest = std::chrono::duration<double, std::milli>(watch.longest()).count();
        }
        writer.join();
        counted.disconnect();
        content.setFileFollower(nullptr);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        state.counters["stall_ms"] = longest;
        state.counters["reloads"] = reloads;
        state.counters["document_bytes"] = static_cast<double>(open.appState.fileContent().size());
    }
}
BENCHMARK(GrowingFileStall1MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // Recent files and settings go to a folder of this run's own, removed afterwards.
    std::string config;
    if (char* made = g_dir_make_tmp("quessel-bench-config-XXXXXX", nullptr)) {
        config = made;
        g_free(made);
        g_setenv("XDG_CONFIG_HOME", config.c_str(), TRUE);
    }
    gtk_init();
    Gtk::init_gtkmm_internals();
    adw_init();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
    return 0;
}

// The document window under load: a keystroke in the editor of a 5 MB document up to the end of
// the window's refresh, and the 1 MB benchmark document from open to the page's first answer.
#include "app/MainWindow.hpp"
#include "bench/DocumentGenerator.hpp"
#include "viewer_core/NotificationCenter.hpp"

#include <adwaita.h>
#include <benchmark/benchmark.h>
#include <gtkmm/init.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

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

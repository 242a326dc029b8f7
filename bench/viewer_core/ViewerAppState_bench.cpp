// The document model on multi-megabyte texts: the dirty check on every refresh, and a durable save.
#include "viewer_core/ViewerAppState.hpp"

#include <benchmark/benchmark.h>
#include <glib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quessel::core {
namespace {

// A scratch folder for the document and the stores, so the user's own settings are not touched.
const std::string& scratchFolder() {
    static const std::string folder = [] {
        char* made = g_dir_make_tmp("quessel-bench-XXXXXX", nullptr);
        std::string path = made;
        g_free(made);
        ::setenv("XDG_CONFIG_HOME", (path + "/config").c_str(), 1);
        std::atexit([] { std::filesystem::remove_all(scratchFolder()); });
        return path;
    }();
    return folder;
}

// Megabytes of YAML lines; with accents the text is not ASCII, so the canonical comparison runs.
std::string documentText(std::int64_t megabytes, bool accented) {
    const std::string line = accented ? "- name: Caf\u00E9 cr\u00E8me br\u00FBl\u00E9e\n"
                                      : "- name: plain ascii entry here\n";
    std::string text;
    while (text.size() < static_cast<std::size_t>(megabytes) * 1024 * 1024) {
        text += line;
    }
    return text;
}

std::unique_ptr<ViewerAppState> openedState(const std::string& text) {
    const std::string path = scratchFolder() + "/doc.yaml";
    std::ofstream(path, std::ios::binary) << text;
    auto state = std::make_unique<ViewerAppState>("recentFiles", 5);
    state->openFile(*FileUrl::fromPath(path));
    return state;
}

// What a window refresh pays while nothing was typed.
void isDirtyUnchanged(benchmark::State& run) {
    const auto state = openedState(documentText(run.range(0), true));
    state->setFileContent(state->fileContent() + "x");
    for (auto _ : run) {
        benchmark::DoNotOptimize(state->isDirty());
    }
}
BENCHMARK(isDirtyUnchanged)->Arg(4)->Arg(16);

// The first read after a keystroke, copying the text excluded.
void isDirtyAfterAnEdit(benchmark::State& run) {
    const std::string text = documentText(run.range(0), run.range(1) != 0);
    const auto state = openedState(text);
    std::string edited = text;
    edited[edited.size() / 2] = '#';
    for (auto _ : run) {
        run.PauseTiming();
        state->setFileContent(edited);
        run.ResumeTiming();
        benchmark::DoNotOptimize(state->isDirty());
    }
}
BENCHMARK(isDirtyAfterAnEdit)->Args({4, 0})->Args({4, 1})->Unit(benchmark::kMillisecond);

// Written, flushed to disk, renamed and the folder flushed.
void saveFile(benchmark::State& run) {
    const auto state = openedState(documentText(run.range(0), false));
    for (auto _ : run) {
        state->saveFile();
    }
    run.SetBytesProcessed(run.iterations() *
                          static_cast<std::int64_t>(state->fileContent().size()));
}
BENCHMARK(saveFile)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quessel::core

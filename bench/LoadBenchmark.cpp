// How fast `load` runs next to a bare libyaml event loop over the same bytes, and how much
// memory it takes: generated documents of 1 and 10 MB, and the real-world corpus.
#include "bench/DocumentGenerator.hpp"
#include "bench/PeakMemory.hpp"
#include "yaml/BlockReserve.hpp"
#include "yaml/Load.hpp"

#include <benchmark/benchmark.h>
#include <yaml.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// What a loader cannot do with less: every event parsed and released, nothing kept.
void libyamlEventLoop(const std::string& text) {
    yaml_parser_t parser;
    yaml_parser_initialize(&parser);
    yaml_parser_set_encoding(&parser, YAML_UTF8_ENCODING);
    yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(text.data()),
                                 text.size());
    for (bool done = false; !done;) {
        yaml_event_t event;
        if (yaml_parser_parse(&parser, &event) == 0) {
            break;
        }
        done = event.type == YAML_STREAM_END_EVENT;
        yaml_event_delete(&event);
    }
    yaml_parser_delete(&parser);
}

double seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

// CPU time of this thread: unlike wall time, it does not grow when other processes compete for
// the machine, so the ratio stays meaningful on a shared one.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Accumulated times of the runs, wall and thread CPU.
struct Timings {
    double libyaml = 0;
    double load = 0;
    double free = 0;
    double libyamlCpu = 0;
    double loadCpu = 0;
};

// Loads every text; the values are kept, so that releasing them is timed on its own.
std::vector<std::optional<quessel::yaml::YamlValue>>
loadAll(const std::vector<const std::string*>& texts) {
    std::vector<std::optional<quessel::yaml::YamlValue>> values;
    values.reserve(texts.size());
    for (const std::string* text : texts) {
        try {
            values.push_back(quessel::yaml::load(*text));
        } catch (const quessel::yaml::YamlError&) {
            // Invalid corpus files cost what reaching their error costs.
        }
    }
    return values;
}

void runOnce(const std::vector<const std::string*>& texts, Timings& timings) {
    const double cpuStart = threadSeconds();
    const auto start = Clock::now();
    for (const std::string* text : texts) {
        libyamlEventLoop(*text);
    }
    const auto middle = Clock::now();
    const double cpuMiddle = threadSeconds();
    auto values = loadAll(texts);
    const auto end = Clock::now();
    timings.loadCpu += threadSeconds() - cpuMiddle;
    values.clear();
    timings.free += seconds(Clock::now() - end);
    timings.libyamlCpu += cpuMiddle - cpuStart;
    timings.libyaml += seconds(middle - start);
    timings.load += seconds(end - middle);
}

// Times both in every iteration, so that the ratio compares runs under the same machine load.
// The ratio is load's time (the node tree released, the value returned) over libyaml's;
// ratio_with_free adds releasing the value.
void compareWithLibyaml(benchmark::State& state, const std::vector<const std::string*>& texts) {
    Timings timings;
    std::size_t bytes = 0;
    for (const std::string* text : texts) {
        bytes += text->size();
    }
    for (auto _ : state) {
        const double before = timings.load;
        runOnce(texts, timings);
        state.SetIterationTime(timings.load - before);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["libyaml_ms"] = 1000 * timings.libyaml / iterations;
    state.counters["free_ms"] = 1000 * timings.free / iterations;
    state.counters["ratio"] = timings.load / timings.libyaml;
    state.counters["ratio_with_free"] = (timings.load + timings.free) / timings.libyaml;
    state.counters["cpu_ratio"] = timings.loadCpu / timings.libyamlCpu;
}

void measurePeak(benchmark::State& state, const std::string& text) {
    // Blocks that earlier loads left in the reserve are resident before this load starts, and
    // this load builds its node tree in them: they count as its memory.
    const auto reserved = static_cast<double>(quessel::yaml::BlockReserve::shared().keptBytes());
    const quessel::bench::PeakMemory peak;
    { benchmark::DoNotOptimize(quessel::yaml::load(text)); }
    const double rise = static_cast<double>(peak.rise()) + reserved;
    const double input = static_cast<double>(text.size());
    state.counters["peak_MB"] = (rise + input) / 1e6;
    state.counters["peak_per_input"] = (rise + input) / input;
}

void BM_Load(benchmark::State& state) {
    const std::string& text =
        quessel::bench::benchmarkDocument(static_cast<std::size_t>(state.range(0)));
    measurePeak(state, text);
    compareWithLibyaml(state, {&text});
}
BENCHMARK(BM_Load)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseManualTime();

// Nine levels of nine aliases: a billion nodes if nothing stopped the expansion.
std::string billionLaughs() {
    std::string text =
        "a: &a [\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\"]\n";
    for (char level = 'b'; level <= 'i'; ++level) {
        const char previous = static_cast<char>(level - 1);
        text += std::string(1, level) + ": &" + level + " [";
        for (int i = 0; i < 9; ++i) {
            text += std::string(i == 0 ? "*" : ",*") + previous;
        }
        text += "]\n";
    }
    return text;
}

// How long and how much memory it takes to refuse the bomb.
void BM_BillionLaughs(benchmark::State& state) {
    const std::string text = billionLaughs();
    const quessel::bench::PeakMemory peak;
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(quessel::yaml::load(text));
            state.SkipWithError("the alias bomb loaded");
        } catch (const quessel::yaml::YamlError&) {
            // The expected outcome.
        }
    }
    state.counters["peak_MB"] = static_cast<double>(peak.rise()) / 1e6;
}
BENCHMARK(BM_BillionLaughs)->Unit(benchmark::kMillisecond);

// Forty mappings, each merging the one before it twice: 2^40 pairs if merges were copied
// wherever they are named, 41 keys each once every key text is kept once.
std::string mergeChain() {
    std::ostringstream text;
    text << "m0: &m0 {k0: 0}\n";
    for (int i = 1; i <= 40; ++i) {
        text << "m" << i << ": &m" << i << " {<<: [*m" << i - 1 << ", *m" << i - 1 << "], k" << i
             << ": " << i << "}\n";
    }
    return text.str();
}

void BM_MergeChain(benchmark::State& state) {
    const std::string text = mergeChain();
    for (auto _ : state) {
        benchmark::DoNotOptimize(quessel::yaml::load(text));
    }
}
BENCHMARK(BM_MergeChain)->Unit(benchmark::kMicrosecond);

std::vector<std::string> readCorpus() {
    std::vector<std::string> texts;
    const char* directory = std::getenv("QUESSEL_CORPUS_DIR");
    const std::filesystem::path root = directory != nullptr ? directory : QUESSEL_CORPUS_DIR;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const auto extension = entry.path().extension();
        if (entry.is_regular_file() && (extension == ".yaml" || extension == ".yml")) {
            std::ifstream file(entry.path(), std::ios::binary);
            std::ostringstream content;
            content << file.rdbuf();
            texts.push_back(content.str());
        }
    }
    return texts;
}

void BM_LoadCorpus(benchmark::State& state) {
    static const std::vector<std::string> corpus = readCorpus();
    std::vector<const std::string*> texts;
    for (const std::string& text : corpus) {
        texts.push_back(&text);
    }
    state.counters["files"] = static_cast<double>(texts.size());
    compareWithLibyaml(state, texts);
}
BENCHMARK(BM_LoadCorpus)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

BENCHMARK_MAIN();

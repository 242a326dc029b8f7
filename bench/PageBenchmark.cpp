// How long page generation takes next to the load it follows, for the generated 1 and 10 MB
// documents: the tree page of the loaded value, and the listing page of the same text.
#include "bench/DocumentGenerator.hpp"
#include "page/MarkupPage.hpp"
#include "page/PageGenerator.hpp"
#include "yaml/Load.hpp"

#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using quessel::page::Appearance;
using quessel::page::PageContent;

double seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

// Load and page are timed in every iteration, so that the ratio compares runs under the same
// machine load. The reported time is the page's alone; freeing the value and the page is in
// neither figure.
void measureAgainstLoad(benchmark::State& state, bool asListing) {
    const std::string& text =
        quessel::bench::benchmarkDocument(static_cast<std::size_t>(state.range(0)));
    double loadSeconds = 0;
    double pageSeconds = 0;
    std::size_t pageBytes = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const std::optional<quessel::yaml::YamlValue> value = quessel::yaml::load(text);
        const auto loaded = Clock::now();
        PageContent content{text, value ? &*value : nullptr, std::nullopt};
        if (asListing) {
            content = {text, nullptr, quessel::page::bannerForYamlError("1:1: error: listing")};
        }
        const std::string page = quessel::page::writeMarkupPage(content, Appearance::light, 14);
        const auto written = Clock::now();
        loadSeconds += seconds(loaded - start);
        pageSeconds += seconds(written - loaded);
        pageBytes = page.size();
        state.SetIterationTime(seconds(written - loaded));
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["load_ms"] = 1000 * loadSeconds / iterations;
    state.counters["page_ms"] = 1000 * pageSeconds / iterations;
    state.counters["page_per_load"] = pageSeconds / loadSeconds;
    state.counters["page_MB"] = static_cast<double>(pageBytes) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_TreePage(benchmark::State& state) {
    measureAgainstLoad(state, false);
}
BENCHMARK(BM_TreePage)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_ListingPage(benchmark::State& state) {
    measureAgainstLoad(state, true);
}
BENCHMARK(BM_ListingPage)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseManualTime();

// The whole call as the host makes it: load and page together.
void BM_GenerateHTML(benchmark::State& state) {
    const std::string& text =
        quessel::bench::benchmarkDocument(static_cast<std::size_t>(state.range(0)));
    const quessel::page::PageGenerator generator([] { return Appearance::light; });
    for (auto _ : state) {
        benchmark::DoNotOptimize(generator.generateHTML(text, 14));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_GenerateHTML)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// How long locating a tree row in the source takes next to loading the same text: the goal is
// a locate that costs about one load, for a scalar deep in the document and for the root
// collection, whose copy reads the text's events a second time.
#include "bench/DocumentGenerator.hpp"
#include "yaml/Load.hpp"
#include "yaml/NodeLocator.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace quessel::yaml;
using quessel::bench::benchmarkDocument;

// The path to the last leaf of the value, walking the last entry or element at each level.
NodePath lastLeaf(const YamlValue& root) {
    NodePath path;
    const YamlValue* value = &root;
    for (;;) {
        if (const auto* mapping = std::get_if<Mapping>(&value->storage);
            mapping != nullptr && !mapping->empty()) {
            path.steps.push_back(PathStep::key(mapping->entries().back().key));
            value = &mapping->entries().back().value;
        } else if (const auto* sequence = std::get_if<Sequence>(&value->storage);
                   sequence != nullptr && !sequence->empty()) {
            path.steps.push_back(PathStep::index(sequence->size() - 1));
            value = &sequence->back();
        } else {
            return path;
        }
    }
}

void BM_LoadToCompare(benchmark::State& state) {
    const std::string& text = benchmarkDocument(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(load(text));
    }
}
BENCHMARK(BM_LoadToCompare)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_LocateDeepScalar(benchmark::State& state) {
    const std::string& text = benchmarkDocument(static_cast<std::size_t>(state.range(0)));
    const NodePath path = lastLeaf(*load(text));
    for (auto _ : state) {
        benchmark::DoNotOptimize(locateNode(text, path));
    }
}
BENCHMARK(BM_LocateDeepScalar)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_LocateRoot(benchmark::State& state) {
    const std::string& text = benchmarkDocument(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(locateNode(text, NodePath{}));
    }
}
BENCHMARK(BM_LocateRoot)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

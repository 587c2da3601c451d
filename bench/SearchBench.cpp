#include "ConfigurationFixtures.hpp"

#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"
#include "KelvaneCore/Search/CommandSearch.hpp"

#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

namespace {

using kelvane::Configuration;

constexpr std::array<std::string_view, 6> queries{"d",          "dep",          "nginx",
                                                  "deploy ngi", "restartnginx", "\u00FCberblick"};

const Configuration& configuration(std::size_t commandCount) {
    static const Configuration small = kelvane::bench::makeConfiguration(10'000, 200);
    static const Configuration large = kelvane::bench::makeConfiguration(100'000, 200);
    return commandCount == 10'000 ? small : large;
}

// Arguments: command count, index into `queries`. The quick-search panel asks for 100 hits.
void searchConfiguration(benchmark::State& state) {
    const Configuration& searched = configuration(static_cast<std::size_t>(state.range(0)));
    const std::string_view query = queries[static_cast<std::size_t>(state.range(1))];
    std::string label = "\"";
    state.SetLabel(label.append(query).append("\""));
    std::size_t hits = 0;
    for (auto _ : state) {
        const auto results = searched.search(query, 100);
        hits = results.size();
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(searchConfiguration)
    ->ArgsProduct({{10'000, 100'000}, {0, 1, 2, 3, 4, 5}})
    ->Unit(benchmark::kMillisecond);

void searchWithEmptyQuery(benchmark::State& state) {
    const Configuration& searched = configuration(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(searched.search("  ", 100).data());
}
BENCHMARK(searchWithEmptyQuery)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// A pasted 100 KB query must cost a linear pass, not a stall of the panel.
void searchWithHugeQuery(benchmark::State& state) {
    const Configuration& searched = configuration(10'000);
    std::string query;
    while (query.size() < 100'000)
        query += state.range(0) == 0 ? "deploy nginx " : "\u00FCberblick ";
    for (auto _ : state)
        benchmark::DoNotOptimize(searched.search(query, 100).data());
}
BENCHMARK(searchWithHugeQuery)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Arguments: the shape, the file's size. No query matches a title, so every command is matched
// with its group path; one search must cost the size, not commands times title length.
void searchHostile(benchmark::State& state) {
    using kelvane::bench::HostileShape;
    const auto shape = static_cast<HostileShape>(state.range(0));
    const Configuration searched =
        kelvane::ConfigurationLoader{kelvane::SortMode::fileOrder, kelvane::SortMode::fileOrder}
            .load(
                kelvane::bench::makeHostileV2Text(shape, static_cast<std::size_t>(state.range(1))));
    const std::string_view query =
        shape == HostileShape::longUmlautTitledGroupOfCommands ? "\u00FCz" : "xz";
    for (auto _ : state)
        benchmark::DoNotOptimize(searched.search(query, 100).data());
}
BENCHMARK(searchHostile)
    ->ArgsProduct({{static_cast<int>(kelvane::bench::HostileShape::longUmlautTitledGroupOfCommands),
                    static_cast<int>(kelvane::bench::HostileShape::longAsciiTitledGroupOfCommands),
                    static_cast<int>(kelvane::bench::HostileShape::deepGroupsWithLongTitles)},
                   {16 << 10, 64 << 10, 256 << 10, 1 << 20}})
    ->Unit(benchmark::kMillisecond);

} // namespace

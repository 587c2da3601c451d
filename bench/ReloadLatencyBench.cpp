// From the end of an editor's save to the end of the reload it causes, through the real kernel
// events, the watcher's quiet period and the store, for a file of 1,000 commands.
#include "ConfigurationFixtures.hpp"

#include "Kelvane/Store/ConfigStore.hpp"
#include "Kelvane/platform/Log.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"

#include "tests/support/InMemoryPreferenceStore.hpp"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

namespace kelvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "kelvane_reload_latency_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

struct Setup {
    Setup() {
        Log::setSink([](const Log::Entry&) {});
    }
    ~Setup() { Log::setSink({}); }

    QTemporaryDir folder;
    std::filesystem::path file = folder.filePath("kelvane.json").toStdString();
    test::InMemoryPreferenceStore preferenceStore;
    Preferences preferences{preferenceStore};
    // Two versions, so that every save really changes the file.
    std::string versions[2] = {makeV2Text(1'000, 20), makeV2Text(1'000, 25)};
};

// Saves as most editors do, by renaming a new file over the old one.
void saveToReloaded(benchmark::State& state) {
    QCoreApplication& app = application();
    Setup setup;
    FileAccess::writeAtomically(setup.file, setup.versions[0]);
    ConfigStore store(setup.file, setup.preferences);
    Clock::time_point reloaded;
    bool done = false;
    store.setOnChange([&] {
        reloaded = Clock::now();
        done = true;
    });
    store.start();
    std::size_t saves = 0;
    for (auto _ : state) {
        done = false;
        FileAccess::writeAtomically(setup.file, setup.versions[++saves % 2]);
        const Clock::time_point saved = Clock::now();
        while (!done)
            app.processEvents(QEventLoop::WaitForMoreEvents);
        state.SetIterationTime(std::chrono::duration<double>(reloaded - saved).count());
    }
    if (!store.configuration() || store.problem())
        state.SkipWithError("the file did not load");
}
BENCHMARK(saveToReloaded)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

// The part of the figure above that is not the quiet period.
void reloadAlone(benchmark::State& state) {
    Setup setup;
    FileAccess::writeAtomically(setup.file, setup.versions[0]);
    ConfigStore store(setup.file, setup.preferences);
    for (auto _ : state)
        store.reload();
    if (!store.configuration() || store.problem())
        state.SkipWithError("the file did not load");
}
BENCHMARK(reloadAlone)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvane::bench

// The application's start-up sequence for a file of 1,000 commands: choosing the file, the
// store, the status item with its loading menu, the first load and the menu it is rebuilt to,
// and the watcher. Runs on the offscreen platform; the process start and the window system's
// part are measured from outside (see the README's "Running the app").
#include "ConfigurationFixtures.hpp"
#include "OffscreenApplication.hpp"

#include "Kelvane/Startup/AppDelegate.hpp"
#include "Kelvane/platform/Log.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"

#include "tests/support/FakeLoginItemService.hpp"
#include "tests/support/InMemoryPreferenceStore.hpp"
#include "tests/support/RecordingDialogs.hpp"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace kelvane::bench {
namespace {

void finishLaunching(benchmark::State& state) {
    offscreenApplication();
    Log::setSink([](const Log::Entry&) {});
    QTemporaryDir folder;
    const std::filesystem::path file = folder.filePath("kelvane.json").toStdString();
    FileAccess::writeAtomically(file, makeV2Text(1'000, 20));
    test::InMemoryPreferenceStore store;
    Preferences preferences(store);
    preferences.setConfigPath(file.string());
    preferences.setDidCompleteFirstRun(true);
    preferences.setDidSeedLaunchAtLogin(true);
    test::RecordingDialogs dialogs;
    test::RecordingWorkspace workspace;
    test::FakeLoginItemService loginItem;
    LaunchAtLogin launchAtLogin(loginItem);
    for (auto _ : state) {
        auto delegate =
            std::make_unique<AppDelegate>(preferences, dialogs, workspace, launchAtLogin);
        delegate->applicationDidFinishLaunching();
        state.PauseTiming();
        if (!delegate->store()->configuration() || delegate->store()->problem())
            state.SkipWithError("the file did not load");
        delegate.reset();
        state.ResumeTiming();
    }
    Log::setSink({});
}
BENCHMARK(finishLaunching)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvane::bench

// Rebuilding the status menu after a reload: the menu as data and the Qt menu made from it, for
// commands in groups of 50 and all at the top level; the whole reload in the running application;
// and the memory a big file leaves behind once a small one has replaced it. Runs on the offscreen
// platform.
#include "ConfigurationFixtures.hpp"
#include "OffscreenApplication.hpp"

#include "Kelvane/Menu/MenuBuilder.hpp"
#include "Kelvane/Startup/AppDelegate.hpp"
#include "Kelvane/platform/Log.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"

#include "tests/support/FakeLoginItemService.hpp"
#include "tests/support/InMemoryPreferenceStore.hpp"
#include "tests/support/RecordingDialogs.hpp"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <unistd.h>

namespace kelvane::bench {
namespace {

const MenuActions actions{[](MenuAction, const std::optional<ShellCommand>&) {}, true};

std::size_t groupsFor(const benchmark::State& state) {
    return state.range(1) == 0 ? 1 : static_cast<std::size_t>(state.range(0) / 50);
}

Configuration configurationFor(const benchmark::State& state) {
    const auto commands = static_cast<std::size_t>(state.range(0));
    Configuration configuration = makeConfiguration(commands, groupsFor(state));
    if (state.range(1) == 0) {
        // All commands at the top level: the one group's items take its place.
        auto& group = std::get<CommandGroup>(configuration.items.front().value);
        std::vector<MenuNode> items = std::move(group.items);
        configuration.items = std::move(items);
    }
    return configuration;
}

void menuModel(benchmark::State& state) {
    const Configuration configuration = configurationFor(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(MenuBuilder::menuModel(configuration, std::nullopt, true));
}
BENCHMARK(menuModel)
    ->ArgsProduct({{10'000, 100'000}, {0, 1}})
    ->ArgNames({"commands", "grouped"})
    ->Unit(benchmark::kMillisecond);

void buildMenu(benchmark::State& state) {
    offscreenApplication();
    const Configuration configuration = configurationFor(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(MenuBuilder::buildMenu(configuration, std::nullopt, actions));
}
BENCHMARK(buildMenu)
    ->ArgsProduct({{10'000, 100'000}, {0, 1}})
    ->ArgNames({"commands", "grouped"})
    ->Unit(benchmark::kMillisecond);

double residentMegabytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

/// The running application on a file of its own, as far as a reload and its menu go.
struct RunningApplication {
    explicit RunningApplication(std::size_t commands) {
        offscreenApplication();
        Log::setSink([](const Log::Entry&) {});
        save(commands);
        preferences.setConfigPath(file.string());
        preferences.setDidCompleteFirstRun(true);
        preferences.setDidSeedLaunchAtLogin(true);
        delegate->applicationDidFinishLaunching();
    }
    ~RunningApplication() {
        delegate.reset();
        Log::setSink({});
    }

    void save(std::size_t commands) const {
        FileAccess::writeAtomically(file,
                                    makeV2Text(commands, std::max<std::size_t>(1, commands / 50)));
    }

    // The reload, the rebuilt menu, and the old menu gone as the event loop lets it go.
    void reload() const {
        delegate->store()->reload();
        QCoreApplication::sendPostedEvents();
    }

    void openEverySubmenu() const {
        for (QAction* action : delegate->statusItem()->menu()->actions())
            if (QMenu* submenu = action->menu())
                emit submenu->aboutToShow();
    }

    QTemporaryDir folder;
    std::filesystem::path file = folder.filePath("kelvane.json").toStdString();
    test::InMemoryPreferenceStore store;
    Preferences preferences{store};
    test::RecordingDialogs dialogs;
    test::RecordingWorkspace workspace;
    test::FakeLoginItemService loginItem;
    LaunchAtLogin launchAtLogin{loginItem};
    std::unique_ptr<AppDelegate> delegate =
        std::make_unique<AppDelegate>(preferences, dialogs, workspace, launchAtLogin);
};

// The main thread's part of a save: reading, loading and the new menu, as the log times it.
void reloadWithMenu(benchmark::State& state) {
    const RunningApplication app(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        app.reload();
    if (!app.delegate->store()->configuration())
        state.SkipWithError("the file did not load");
}
BENCHMARK(reloadWithMenu)
    ->Arg(10'000)
    ->Arg(100'000)
    ->ArgName("commands")
    ->Unit(benchmark::kMillisecond);

// From 10 commands to 10,000, every submenu opened once, and back to 10, as saves do.
void residentAfterBigFile(benchmark::State& state) {
    const RunningApplication app(10);
    const double before = residentMegabytes();
    double peak = before;
    for (auto _ : state) {
        app.save(10'000);
        app.reload();
        app.openEverySubmenu();
        peak = std::max(peak, residentMegabytes());
        app.save(10);
        app.reload();
    }
    state.counters["before_MB"] = before;
    state.counters["peak_MB"] = peak;
    state.counters["after_MB"] = residentMegabytes();
}
BENCHMARK(residentAfterBigFile)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvane::bench

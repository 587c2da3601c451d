// From a keystroke in the quick-search field to the result list laid out and painted anew, for
// configurations of 10,000 and 100,000 commands, on the offscreen platform.
#include "ConfigurationFixtures.hpp"

#include "Kelvane/QuickSearch/QuickSearchView.hpp"
#include "Kelvane/Store/ConfigStore.hpp"
#include "Kelvane/platform/Log.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"

#include "tests/support/InMemoryPreferenceStore.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <array>
#include <map>
#include <memory>

namespace kelvane::bench {
namespace {

/// A store that has loaded a generated file of a given number of commands.
struct LoadedStore {
    explicit LoadedStore(std::size_t commandCount) {
        FileAccess::writeAtomically(file, makeV2Text(commandCount, 200));
        store.reload();
    }

    QTemporaryDir folder;
    std::filesystem::path file = folder.filePath("kelvane.json").toStdString();
    test::InMemoryPreferenceStore preferenceStore;
    Preferences preferences{preferenceStore};
    ConfigStore store{file, preferences};
};

/// Loading 100,000 commands takes longer than the measurement, so each size loads once.
std::map<std::size_t, std::unique_ptr<LoadedStore>>& loadedStores() {
    static std::map<std::size_t, std::unique_ptr<LoadedStore>> stores;
    return stores;
}

ConfigStore& storeWith(std::size_t commandCount) {
    std::unique_ptr<LoadedStore>& loaded = loadedStores()[commandCount];
    if (!loaded)
        loaded = std::make_unique<LoadedStore>(commandCount);
    return loaded->store;
}

/// The field's text before the keystroke, and the key typed.
struct Keystroke {
    const char* before;
    char typed;
};
constexpr std::array keystrokes{Keystroke{"", 'd'}, Keystroke{"de", 'p'}, Keystroke{"ngin", 'x'}};

/// Everything the keystroke left to do: posted layout requests, then a synchronous paint of
/// the whole view, rows included.
void settle(QWidget& view) {
    QCoreApplication::sendPostedEvents();
    view.repaint();
}

// Arguments: command count, index into `keystrokes`.
void keystrokeToResultList(benchmark::State& state) {
    ConfigStore& store = storeWith(static_cast<std::size_t>(state.range(0)));
    if (!store.configuration()) {
        state.SkipWithError("the configuration did not load");
        return;
    }
    const Keystroke& keystroke = keystrokes[static_cast<std::size_t>(state.range(1))];
    state.SetLabel(std::string("\"") + keystroke.before + "\" + '" + keystroke.typed + "'");
    QuickSearchView view(
        store, [](const ShellCommand&) {}, [](const ShellCommand&) {}, [] {});
    view.resize(620, 420);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view)) {
        state.SkipWithError("the view did not come on screen");
        return;
    }
    auto* field = view.findChild<QLineEdit*>("quickSearchField");
    for (auto _ : state) {
        state.PauseTiming();
        field->setText(keystroke.before);
        settle(view);
        state.ResumeTiming();
        QTest::keyClick(field, keystroke.typed);
        settle(view);
    }
    state.counters["hits"] = static_cast<double>(view.results().size());
}
BENCHMARK(keystrokeToResultList)
    ->ArgsProduct({{10'000, 100'000}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvane::bench

// The widgets need an application object for the whole run, so this program has a main of
// its own instead of the benchmark library's.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kelvane::Log::setSink([](const kelvane::Log::Entry&) {});
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    kelvane::bench::loadedStores().clear();
    return 0;
}

#include "Kelvane/Store/ConfigStore.hpp"
#include "Kelvane/platform/TerminalPrograms.hpp"

#include "Kelvane/platform/Log.hpp"

#include "support/EditorSaves.hpp"
#include "support/ScopedEnvironment.hpp"
#include "support/StoreWithCommands.hpp"
#include "support/TemporaryFolder.hpp"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> titles(const ConfigStore& store) {
    std::vector<std::string> result;
    if (store.configuration())
        for (const CommandEntry& entry : store.configuration()->allCommands())
            result.push_back(entry.command.title);
    return result;
}

class ConfigStoreTest : public ::testing::Test, protected test::StoreWithCommands {
protected:
    ConfigStoreTest() : StoreWithCommands({"Eins", "Zwei"}) {
        Log::setSink([this](const Log::Entry& entry) {
            logged.push_back(std::string(entry.category) + ": " + entry.message);
        });
        store.setOnChange([this] { ++reloads; });
    }
    ~ConfigStoreTest() override { Log::setSink({}); }

    void waitForReloads(int count) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return reloads >= count; }, 5000))
            << "reloads: " << reloads << " of " << count;
        QCoreApplication::processEvents();
        EXPECT_EQ(reloads, count);
    }

    fs::path file = folder / "kelvane.json";
    int reloads = 0;
    std::vector<std::string> logged;
};

TEST_F(ConfigStoreTest, aLoadLogsItsCountsClearsTheProblemAndSortsAsTheLastReloadSaw) {
    fs::remove(file);
    store.reload();
    folder.write("kelvane.json", R"({"version": 2, "extra": 1, "items": [
        {"title": "Eins", "command": "echo"}, {"title": "Zwei", "command": "echo"},
        {"title": "Drei", "command": "echo"}]})");
    store.reload();
    EXPECT_EQ(titles(store), (std::vector<std::string>{"Drei", "Eins", "Zwei"}));
    EXPECT_EQ(store.problem(), std::nullopt);
    EXPECT_EQ(logged.back(), "config: Konfiguration geladen: 3 Befehle, 1 Hinweis(e)");
    EXPECT_EQ(reloads, 2);

    preferences.setSortMode(SortMode::fileOrder);
    EXPECT_EQ(titles(store), (std::vector<std::string>{"Drei", "Eins", "Zwei"}))
        << "a new sort order waits for the next reload";
    store.reload();
    EXPECT_EQ(titles(store), (std::vector<std::string>{"Eins", "Zwei", "Drei"}));
}

// The file cannot know which program stands in for a name it does not know; the store does.
TEST_F(ConfigStoreTest, anUnknownTerminalNamesTheProgramThatRunsInstead) {
    folder.write("kelvane.json", R"({"settings": {"terminal": "Hyper"}, "items": []})");
    store.reload();
    ASSERT_TRUE(store.configuration());
    const auto& warnings = store.configuration()->warnings;
    ASSERT_EQ(warnings.size(), 1U);
    EXPECT_EQ(warnings[0].message(),
              "Terminal \u201EHyper\u201C wird (noch) nicht unterst\u00FCtzt \u2014 " +
                  TerminalPrograms::usedName(TerminalKind::terminalApp) + " wird verwendet.");
    // Only macOS has Terminal.app.
    EXPECT_EQ(TerminalPrograms::usedName(TerminalKind::terminalApp).starts_with("Standardterminal"),
              TerminalPrograms::platform() == TerminalPlatform::linux);
}

struct FailureCase {
    const char* name;
    std::function<void(const fs::path& folder, const fs::path& file)> breakFile;
    /// How the logged line begins; the trust check's own tests judge its findings.
    std::string logged;
};

class ConfigStoreFailureTest : public ConfigStoreTest,
                               public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ConfigStoreFailureTest, keepsTheLastGoodConfigurationAndTellsWhy) {
    store.reload();
    const std::optional<Configuration> good = store.configuration();
    ASSERT_TRUE(good);
    GetParam().breakFile(folder.path(), file);
    store.reload();
    EXPECT_EQ(store.configuration(), good);
    ASSERT_TRUE(store.problem());
    EXPECT_TRUE(logged.back().starts_with(GetParam().logged)) << logged.back();
    EXPECT_EQ(reloads, 2);
}

const std::string parseFailure = "config: Konfiguration fehlerhaft: ";
const std::string untrusted = "config: Konfiguration nicht vertrauensw\u00FCrdig: 1 Befund(e)";

const FailureCase failures[] = {
    {"missing", [](const auto&, const auto& file) { fs::remove(file); },
     "config: Konfiguration fehlt: /"},
    {"groupWritableFile",
     [](const auto&, const auto& file) { fs::permissions(file, fs::perms(0664)); }, untrusted},
    {"groupWritableFolder",
     [](const auto& folder, const auto&) { fs::permissions(folder, fs::perms(0770)); }, untrusted},
    {"syntaxError",
     [](const auto&, const auto& file) { test::writeFile(file, "{\"version\": 2,"); },
     parseFailure},
    {"unreadable",
     [](const auto&, const auto& file) {
         fs::remove(file);
         fs::create_directory(file);
     },
     parseFailure},
    {"hugeSparseFile",
     [](const auto&, const auto& file) { fs::resize_file(file, std::uintmax_t{100} << 30); },
     parseFailure},
};

INSTANTIATE_TEST_SUITE_P(Failures, ConfigStoreFailureTest, ::testing::ValuesIn(failures),
                         [](const auto& info) { return std::string(info.param.name); });

// Entries get new identities on every load.
TEST_F(ConfigStoreTest, signalsOnlyRealChangesButCallsBackAfterEveryReload) {
    QSignalSpy configurationChanges(&store, &ConfigStore::configurationChanged);
    QSignalSpy problemChanges(&store, &ConfigStore::problemChanged);
    const auto counts = [&] {
        return std::pair(static_cast<int>(configurationChanges.count()),
                         static_cast<int>(problemChanges.count()));
    };
    store.reload();
    EXPECT_EQ(counts(), std::pair(1, 0)) << "first load";
    store.reload();
    EXPECT_EQ(counts(), std::pair(2, 0)) << "second load";
    test::writeFile(file, "{");
    store.reload();
    EXPECT_EQ(counts(), std::pair(2, 1)) << "broken";
    store.reload();
    EXPECT_EQ(counts(), std::pair(2, 1)) << "still broken in the same way";
    fs::remove(file);
    store.reload();
    EXPECT_EQ(counts(), std::pair(2, 2)) << "missing";
    write({"Eins"});
    store.reload();
    EXPECT_EQ(counts(), std::pair(3, 3)) << "repaired";
    EXPECT_EQ(reloads, 6);
}

TEST_F(ConfigStoreTest, changeLocationRemembersTheFileAndWatchesItInstead) {
    test::StoreWithCommands elsewhere({"Anderswo"});
    const fs::path other = elsewhere.folder / "kelvane.json";
    QSignalSpy urlChanges(&store, &ConfigStore::urlChanged);
    store.start();
    EXPECT_EQ(reloads, 1);
    store.changeLocation(other);
    EXPECT_EQ(store.url(), other);
    EXPECT_EQ(urlChanges.count(), 1);
    EXPECT_EQ(preferences.configPath(), other.string());
    EXPECT_EQ(store.watcher()->url(), other);
    EXPECT_EQ(titles(store), std::vector<std::string>{"Anderswo"});
    EXPECT_EQ(reloads, 2);

    write({"Alt"});
    QCoreApplication::processEvents();
    EXPECT_FALSE(store.watcher()->hasPendingChange()) << "the former file is not watched";
    elsewhere.write({"Neu"});
    waitForReloads(3);
    EXPECT_EQ(titles(store), std::vector<std::string>{"Neu"});

    const ConfigFileWatcher* before = store.watcher();
    store.changeLocation(other);
    EXPECT_EQ(urlChanges.count(), 1) << "the same file is no change";
    EXPECT_EQ(reloads, 4);
    EXPECT_NE(store.watcher(), before);
}

class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : m_previous(::umask(mask)) {}
    ~ScopedUmask() { ::umask(m_previous); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t m_previous;
};

class DefaultConfigurationTest : public ::testing::Test {
protected:
    test::TemporaryFolder home;
    test::ScopedEnvironment configHome{"XDG_CONFIG_HOME", (home / "config").string()};
    test::ScopedEnvironment homeVariable{"HOME", home.path().string()};
};

TEST_F(DefaultConfigurationTest, isCreatedPrivateWithAnEmptyMenuAndThenLeftAlone) {
    const fs::path created = ensureDefaultConfiguration();
    EXPECT_EQ(created, defaultConfigurationURL());
    EXPECT_EQ(created, home / "config/Kelvane/kelvane.json");
    EXPECT_EQ(fs::status(created.parent_path()).permissions(), fs::perms(0700));
    EXPECT_EQ(fs::status(created).permissions(), fs::perms(0600));
    EXPECT_EQ(test::contentOf(created), "{\n  \"version\": 2,\n  \"items\": []\n}\n");

    home.write("config/Kelvane/kelvane.json", "mine", fs::perms(0640));
    fs::permissions(created.parent_path(), fs::perms(0750));
    EXPECT_EQ(ensureDefaultConfiguration(), created);
    EXPECT_EQ(test::contentOf(created), "mine");
    EXPECT_EQ(fs::status(created).permissions(), fs::perms(0640));
    EXPECT_EQ(fs::status(created.parent_path()).permissions(), fs::perms(0750));
}

TEST_F(DefaultConfigurationTest, theFirstStartUnderACommonUmaskLoadsItsOwnFile) {
    for (const mode_t umask : {0002, 0022}) {
        const fs::path configHome = home / ("umask" + std::to_string(umask) + "/config");
        const test::ScopedEnvironment xdgConfigHome("XDG_CONFIG_HOME", configHome.string());
        std::optional<ScopedUmask> scopedUmask(umask);
        // As at start-up: the preferences make their folder before the store runs.
        const auto preferenceStore = makeUserPreferenceStore();
        Preferences preferences(*preferenceStore);
        ConfigStore store(ensureDefaultConfiguration(), preferences);
        store.reload();
        scopedUmask.reset();

        EXPECT_EQ(store.problem(), std::nullopt) << "umask " << umask;
        for (const fs::path& created :
             {configHome, configHome / "Kelvane", configHome / "Kelvane/Preferences"})
            EXPECT_EQ(fs::status(created).permissions(), fs::perms(0700))
                << created << " under umask " << umask;
    }
}

} // namespace
} // namespace kelvane

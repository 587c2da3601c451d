#include "Kelvane/Startup/AppDelegate.hpp"

#include "Kelvane/platform/Log.hpp"

#include "support/FakeLoginItemService.hpp"
#include "support/InMemoryPreferenceStore.hpp"
#include "support/RecordingDialogs.hpp"
#include "support/ScopedEnvironment.hpp"
#include "support/TemporaryFolder.hpp"

#include <QAction>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view twoCommands =
    R"({"cmds": [{"name": "Uptime", "cmd": "uptime"}, {"Logs": [{"name": "Df", "cmd": "df"}]}]})";

/// Answers the first alert by running `beforeAnswer`, then with `answer`.
class AnsweringDialogs : public test::RecordingDialogs {
public:
    std::optional<std::size_t> runModal(const Alert& alert) override {
        if (beforeAnswer)
            beforeAnswer();
        return test::RecordingDialogs::runModal(alert);
    }
    std::function<void()> beforeAnswer;
};

class AppDelegateTest : public ::testing::Test {
protected:
    AppDelegateTest() {
        Log::setSink([this](const Log::Entry& entry) {
            if (entry.level == Log::Level::error)
                errors.push_back(std::string(entry.category) + ": " + entry.message);
        });
    }
    ~AppDelegateTest() override { Log::setSink({}); }

    /// One start of the application, as far as the event loop's first turn takes it.
    AppDelegate& launch() {
        delegate = std::make_unique<AppDelegate>(preferences, dialogs, workspace, launchAtLogin);
        delegate->applicationDidFinishLaunching();
        return *delegate;
    }

    fs::path defaultFile() const { return home / ".config/Kelvane/kelvane.json"; }

    test::TemporaryFolder home;
    test::ScopedEnvironment homeVariable{"HOME", home.path().string()};
    test::ScopedEnvironment configHome{"XDG_CONFIG_HOME", (home / ".config").string()};
    test::InMemoryPreferenceStore store;
    Preferences preferences{store};
    AnsweringDialogs dialogs;
    test::RecordingWorkspace workspace;
    test::FakeLoginItemService loginItem;
    LaunchAtLogin launchAtLogin{loginItem};
    std::unique_ptr<AppDelegate> delegate;
    std::vector<std::string> errors;
};

TEST_F(AppDelegateTest, anExistingStoredFileIsUsedWithoutCreatingTheDefaultFolder) {
    const auto mine = home.write("mine.json", twoCommands, fs::perms(0600));
    preferences.setConfigPath(mine.string());
    launch();
    EXPECT_EQ(delegate->store()->url(), mine);
    ASSERT_TRUE(delegate->store()->configuration());
    EXPECT_EQ(delegate->store()->configuration()->allCommands().size(), 2u);
    EXPECT_FALSE(fs::exists(home / ".config/Kelvane"));
    EXPECT_TRUE(dialogs.alerts.empty());
    EXPECT_TRUE(preferences.didCompleteFirstRun());
    const QList<QAction*> actions = delegate->statusItem()->menu()->actions();
    EXPECT_TRUE(std::any_of(actions.begin(), actions.end(), [](const QAction* action) {
        return action->text() == "Uptime";
    })) << "the loaded commands are in the menu";
}

TEST_F(AppDelegateTest, aStoredFileThatIsGoneFallsBackToTheDefaultForThisRunOnly) {
    const std::string gone = (home / "gone.json").string();
    preferences.setConfigPath(gone);
    home.write(".shuttle.json", twoCommands);
    launch();
    EXPECT_EQ(delegate->store()->url(), defaultFile());
    EXPECT_EQ(delegate->store()->problem(), std::nullopt) << "the default file is made and loads";
    EXPECT_EQ(preferences.configPath(), gone);
    EXPECT_TRUE(dialogs.alerts.empty()) << "a chosen path, even a gone one, means no offer";
}

TEST_F(AppDelegateTest, aDefaultFileThatCannotBeCreatedIsLoggedAndReportedMissing) {
    home.write(".config", "a file where the folder belongs");
    launch();
    EXPECT_EQ(delegate->store()->url(), defaultFile());
    ASSERT_TRUE(delegate->store()->problem());
    EXPECT_TRUE(
        std::holds_alternative<ConfigStore::Problem::Missing>(delegate->store()->problem()->kind));
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.front().rfind("app: Standardkonfiguration konnte nicht angelegt werden: ", 0),
              0u)
        << errors.front();
    EXPECT_TRUE(delegate->statusItem()->appearsDisabled());
}

TEST_F(AppDelegateTest, theFirstRunOffersTheHomeFolderFileOnceAndLaterKeepsTheDefault) {
    const auto homeFile = home.write(".shuttle.json", twoCommands);
    home.write("Library/Application Support/Shuttle/shuttle.json", R"({"cmds": []})");
    launch();
    ASSERT_EQ(dialogs.alerts.size(), 1u);
    EXPECT_NE(dialogs.alerts.front().informativeText.find("\u201e" + homeFile.string() +
                                                          "\u201c liegen 2 Befehle in 2 Gruppen."),
              std::string::npos);
    EXPECT_EQ(delegate->store()->url(), defaultFile());
    EXPECT_EQ(preferences.configPath(), std::nullopt);
    EXPECT_TRUE(preferences.didCompleteFirstRun());

    launch();
    EXPECT_EQ(dialogs.alerts.size(), 1u) << "the offer is made on the first run only";
    EXPECT_EQ(delegate->store()->url(), defaultFile());
}

TEST_F(AppDelegateTest, takingOverCopiesTheShuttleFilePrivatelyAndSwitchesToIt) {
    const auto source = home.write(".shuttle.json", twoCommands);
    dialogs.answers = {0};
    launch();
    EXPECT_EQ(delegate->store()->url(), defaultFile());
    EXPECT_EQ(test::contentOf(defaultFile()), twoCommands);
    EXPECT_EQ(fs::status(defaultFile()).permissions() & fs::perms::mask, fs::perms(0600));
    EXPECT_EQ(fs::status(source).permissions() & fs::perms::mask, fs::perms(0644));
    EXPECT_EQ(delegate->store()->problem(), std::nullopt);
    ASSERT_TRUE(delegate->store()->configuration());
    EXPECT_EQ(delegate->store()->configuration()->allCommands().size(), 2u);
    EXPECT_EQ(preferences.configPath(), defaultFile().string());
    EXPECT_TRUE(errors.empty());
}

TEST_F(AppDelegateTest, aFailedTakeOverIsLoggedAndChangesNothing) {
    const auto source = home.write(".shuttle.json", twoCommands);
    dialogs.answers = {0};
    dialogs.beforeAnswer = [&] {
        fs::remove(source);
    };
    launch();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors.front().rfind("app: Import fehlgeschlagen: \u201e", 0), 0u) << errors.front();
    EXPECT_EQ(test::contentOf(defaultFile()), "{\n  \"version\": 2,\n  \"items\": []\n}\n");
    EXPECT_EQ(preferences.configPath(), std::nullopt);
    EXPECT_TRUE(preferences.didCompleteFirstRun());
}

struct SeedingCase {
    const char* name;
    std::string_view file;
    LoginItemService::Status status;
    bool alreadySeeded;
    int expectedRegistrations;
};

class LaunchAtLoginSeeding : public AppDelegateTest,
                             public ::testing::WithParamInterface<SeedingCase> {};

TEST_P(LaunchAtLoginSeeding, appliesTheFilesWishOnceAndAlwaysSetsTheMarker) {
    const SeedingCase& seeding = GetParam();
    const auto file = home.write("mine.json", seeding.file, fs::perms(0600));
    preferences.setConfigPath(file.string());
    preferences.setDidSeedLaunchAtLogin(seeding.alreadySeeded);
    loginItem.currentStatus = seeding.status;
    launch();
    EXPECT_EQ(loginItem.registerCalls, seeding.expectedRegistrations);
    EXPECT_EQ(loginItem.unregisterCalls, 0);
    EXPECT_TRUE(preferences.didSeedLaunchAtLogin());

    loginItem.currentStatus = LoginItemService::Status::notRegistered;
    launch();
    EXPECT_EQ(loginItem.registerCalls, seeding.expectedRegistrations) << "never a second time";
}

constexpr std::string_view wantsLaunch = R"({"version": 2, "settings": {"launchAtLogin": true},
                                            "items": []})";
using Status = LoginItemService::Status;

INSTANTIATE_TEST_SUITE_P(
    AppDelegate, LaunchAtLoginSeeding,
    ::testing::Values(
        SeedingCase{"wished", wantsLaunch, Status::notRegistered, false, 1},
        SeedingCase{"waitingForApproval", wantsLaunch, Status::requiresApproval, false, 1},
        SeedingCase{"alreadyEnabled", wantsLaunch, Status::enabled, false, 0},
        SeedingCase{"alreadySeeded", wantsLaunch, Status::notRegistered, true, 0},
        SeedingCase{"notWished", R"({"version": 2, "settings": {"launchAtLogin": false},
                                     "items": []})",
                    Status::notRegistered, false, 0},
        SeedingCase{"brokenFile", R"({"version": 2, "settings": {"launchAtLogin": true}, )",
                    Status::notRegistered, false, 0}),
    [](const ::testing::TestParamInfo<SeedingCase>& info) { return info.param.name; });

} // namespace
} // namespace kelvane

#include "Kelvane/Menu/StatusItemController.hpp"

#include "Kelvane/platform/Log.hpp"

#include "support/FakeHotKeyRegistrar.hpp"
#include "support/FakeLoginItemService.hpp"
#include "support/FakeTerminalBackend.hpp"
#include "support/InMemoryPreferenceStore.hpp"
#include "support/RecordingDialogs.hpp"
#include "support/TemporaryFolder.hpp"

#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

const std::string goodFile = R"({"version": 2, "settings": {"openIn": "current"},
  "items": [{"title": "Eins", "command": "echo eins"}, {"title": "Zwei", "command": "echo zwei"}]})";

class StatusItemControllerTest : public ::testing::Test {
protected:
    StatusItemControllerTest() {
        Log::setSink([](const Log::Entry&) {});
        start();
    }

    void start() {
        controller.reset();
        auto backend = std::make_unique<test::FakeTerminalBackend>();
        runs = backend->record;
        auto registrar = std::make_unique<test::FakeHotKeyRegistrar>();
        hotKeys = registrar.get();
        controller = std::make_unique<StatusItemController>(
            store, preferences, std::move(backend), std::move(registrar),
            DesktopServices{dialogs, workspace, launchAtLogin,
                            [](const fs::path&) { return std::optional<fs::path>(); }, tray});
    }
    ~StatusItemControllerTest() override {
        controller.reset();
        Log::setSink({});
    }

    void load(const std::string& content) {
        folder.write(file.filename(), content);
        store.reload();
    }

    std::vector<std::string> visibleTitles() const {
        std::vector<std::string> titles;
        for (const QAction* action : controller->menu()->actions()) {
            if (action->isVisible())
                titles.push_back(action->isSeparator() ? "---" : action->text().toStdString());
        }
        return titles;
    }

    QAction* action(const std::string& title) const {
        for (QAction* candidate : controller->menu()->actions()) {
            if (candidate->text().toStdString() == title)
                return candidate;
        }
        ADD_FAILURE() << "no item " << title;
        return nullptr;
    }

    void choose(const std::string& title) const {
        if (QAction* item = action(title))
            item->trigger();
    }

    test::TemporaryFolder folder;
    fs::path file = folder / "b c.json";
    test::InMemoryPreferenceStore preferenceStore;
    Preferences preferences{preferenceStore};
    ConfigStore store{file, preferences};
    test::RecordingDialogs dialogs;
    test::RecordingWorkspace workspace;
    test::FakeLoginItemService loginItems;
    LaunchAtLogin launchAtLogin{loginItems};
    SystemTrayProbe tray{[] {
        return true;
    }};
    test::FakeHotKeyRegistrar* hotKeys = nullptr;
    std::shared_ptr<test::FakeTerminalBackend::Record> runs;
    std::unique_ptr<StatusItemController> controller;
};

TEST_F(StatusItemControllerTest, followsTheStoreThroughAProblemAndBack) {
    EXPECT_FALSE(action("Konfiguration wird geladen\u2026")->isEnabled());
    EXPECT_FALSE(controller->appearsDisabled());
    load(goodFile);
    EXPECT_EQ(visibleTitles().front(), "Eins");
    QPointer<QMenu> healthyMenu = controller->menu();
    const qint64 healthyIcon = controller->statusItem().icon().cacheKey();

    load("{\"version\": 2, \"items\": [");
    const std::vector<std::string> troubled = visibleTitles();
    EXPECT_EQ(
        std::vector<std::string>(troubled.begin(), troubled.begin() + 4),
        (std::vector<std::string>{"Konfigurationsproblem anzeigen\u2026", "---", "Eins", "Zwei"}));
    EXPECT_TRUE(controller->appearsDisabled());
    EXPECT_NE(controller->statusItem().icon().cacheKey(), healthyIcon);
    EXPECT_EQ(controller->statusItem().toolTip().toStdString(),
              "Kelvane\n" + store.problem()->message());
    EXPECT_TRUE(QTest::qWaitFor([&] { return healthyMenu.isNull(); }, 5000))
        << "a replaced menu is released";

    load(goodFile);
    EXPECT_EQ(visibleTitles().front(), "Eins");
    EXPECT_FALSE(controller->appearsDisabled());
    EXPECT_EQ(controller->statusItem().icon().cacheKey(), healthyIcon);
    EXPECT_EQ(controller->statusItem().toolTip(), "Kelvane");

    // The right button's menu is the tray's own business; a click opens the same one.
    emit controller->statusItem().activated(QSystemTrayIcon::Context);
    EXPECT_FALSE(controller->menu()->isVisible());
    emit controller->statusItem().activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(controller->menu()->isVisible());
    controller->menu()->hide();

    folder.write(file.filename(),
                 R"({"version": 2, "items": [{"title": "Drei", "command": "echo"}]})");
    choose("Neu laden");
    EXPECT_EQ(visibleTitles().front(), "Drei") << "the menu replaces itself safely";
}

TEST_F(StatusItemControllerTest, commandItemsRunTheirAlternatesCopyAndTooltipsFollowThePreference) {
    load(goodFile);
    choose("Zwei");
    ASSERT_EQ(runs->runs.size(), 1u);
    EXPECT_EQ(runs->runs[0].command.command, "echo zwei");
    EXPECT_EQ(runs->runs[0].openIn, OpenBehavior::current) << "the loaded configuration's";

    choose("\u201EZwei\u201C kopieren");
    EXPECT_EQ(workspace.requests, std::vector<std::string>{"copy: echo zwei"});

    // The tooltip preference is read at every rebuild.
    EXPECT_TRUE(action("Eins")->toolTip().contains("echo eins"));
    preferences.setShowCommandTooltips(false);
    controller->rebuildMenu();
    EXPECT_FALSE(action("Eins")->toolTip().contains("echo eins"));
    EXPECT_TRUE(action("\u201EEins\u201C kopieren")->toolTip().contains("echo eins"));
}

TEST_F(StatusItemControllerTest, editingAndWarningsUseTheTerminalEditorOrTheSystemsApplication) {
    choose("Konfiguration bearbeiten\u2026");
    EXPECT_EQ(workspace.requests, std::vector<std::string>{"open: " + file.string()})
        << "without a configuration the system decides";
    load(R"({"version": 2, "colour": "rot", "items": []})");
    dialogs.answers = {0};
    choose("1 Hinweis zur Konfiguration\u2026");
    ASSERT_EQ(dialogs.alerts.size(), 1u);
    EXPECT_EQ(dialogs.alerts[0].messageText, "Hinweise zur Konfiguration");
    EXPECT_EQ(workspace.requests, std::vector<std::string>(2, "open: " + file.string()))
        << "the warnings offer the editor, and without one the system decides";

    load(R"({"version": 2, "settings": {"editor": "nano"}, "items": []})");
    choose("Konfiguration bearbeiten\u2026");
    ASSERT_EQ(runs->runs.size(), 1u);
    EXPECT_EQ(runs->runs[0].command.title, "Konfiguration bearbeiten");
    EXPECT_EQ(runs->runs[0].command.command, "nano '" + file.string() + "'");
    EXPECT_EQ(runs->runs[0].openIn, OpenBehavior::window);
    EXPECT_EQ(dialogs.alerts.size(), 1u) << "no confirmation for the editor";

    // Every "In Editor öffnen" follows the setting too: the warnings' and a broken file's,
    // whose last good configuration chose the editor.
    load(R"({"version": 2, "colour": "rot", "settings": {"editor": "nano"}, "items": []})");
    dialogs.answers = {0};
    choose("1 Hinweis zur Konfiguration\u2026");
    load("{");
    dialogs.answers = {0};
    choose("Konfigurationsproblem anzeigen\u2026");
    ASSERT_EQ(runs->runs.size(), 3u);
    EXPECT_EQ(runs->runs[1].command.command, runs->runs[0].command.command);
    EXPECT_EQ(runs->runs[2].command.command, runs->runs[0].command.command);
    EXPECT_EQ(workspace.requests.size(), 2u) << "nothing more opened by the system";
}

TEST_F(StatusItemControllerTest, aFileOrFolderNothingCouldOpenIsNamedInAnAlert) {
    workspace.canOpen = false;
    choose("Konfiguration bearbeiten\u2026");
    fs::remove(file);
    store.reload();
    dialogs.answers = {0};
    choose("Konfigurationsproblem anzeigen\u2026");
    ASSERT_EQ(dialogs.alerts.size(), 3u);
    const std::string quoted = "\u201E" + file.string() + "\u201C";
    EXPECT_EQ(dialogs.alerts[0].messageText, quoted + " konnte nicht ge\u00F6ffnet werden.");
    EXPECT_EQ(dialogs.alerts[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(dialogs.alerts[2].messageText, quoted + " konnte nicht gezeigt werden.");
}

// The alerts' texts for each kind of problem are the alerts' own tests' business.
TEST_F(StatusItemControllerTest, problemAlertActsOnTheFileAsItsFirstButtonSays) {
    struct Case {
        const char* name;
        std::function<void()> cause;
        std::string request;
    };
    const std::vector<Case> cases{
        {"parse", [&] { folder.write(file.filename(), "{"); }, "open: " + file.string()},
        {"untrusted",
         [&] {
             folder.write(file.filename(), goodFile);
             fs::permissions(file, fs::perms(0664));
         },
         "copy: chmod 600 '" + fs::canonical(folder.path()).string() + "/b c.json'"},
        {"missing", [&] { fs::remove(file); }, "reveal: " + file.string()},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        testCase.cause();
        store.reload();
        workspace.requests.clear();
        dialogs.alerts.clear();
        dialogs.answers = {1, 0};
        choose("Konfigurationsproblem anzeigen\u2026");
        EXPECT_TRUE(workspace.requests.empty()) << "\u201ESchlie\u00DFen\u201C does nothing";
        choose("Konfigurationsproblem anzeigen\u2026");
        ASSERT_EQ(dialogs.alerts.size(), 2u);
        EXPECT_EQ(workspace.requests, std::vector<std::string>{testCase.request});
    }
}

TEST_F(StatusItemControllerTest, hotKeyAndMenuItemToggleTheQuickSearchAndSettingsChangeTheKey) {
    EXPECT_TRUE(hotKeys->calls.empty()) << "no stored combination, no hot key";
    preferences.setQuickSearchHotKey(HotKeyCombination{40, 768});
    start();
    ASSERT_EQ(hotKeys->calls, std::vector<std::string>{"register 40 768"});

    hotKeys->press();
    ASSERT_NE(controller->quickSearch(), nullptr);
    EXPECT_TRUE(controller->quickSearch()->isPanelVisible());
    hotKeys->press();
    EXPECT_FALSE(controller->quickSearch()->isPanelVisible());
    choose("Schnellsuche\u2026");
    EXPECT_TRUE(controller->quickSearch()->isPanelVisible());
    choose("Schnellsuche\u2026");
    EXPECT_FALSE(controller->quickSearch()->isPanelVisible());

    choose("Einstellungen\u2026");
    SettingsWindowController* settings = controller->settingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->window()->isVisible());
    settings->window()->close();
    choose("Einstellungen\u2026");
    EXPECT_EQ(controller->settingsWindow(), settings) << "made once";
    EXPECT_TRUE(settings->window()->isVisible());
    // A change in the settings takes effect at once.
    preferences.setQuickSearchHotKey(HotKeyCombination{49, 2304});
    preferences.setQuickSearchHotKey(std::nullopt);
    EXPECT_EQ(hotKeys->calls, (std::vector<std::string>{"register 40 768", "unregister",
                                                        "register 49 2304", "unregister"}));
}

TEST_F(StatusItemControllerTest, withoutATrayTheHotKeyWorksAndTheIconComesWithTheTray) {
    std::vector<std::string> logged;
    Log::setSink([&](const Log::Entry& entry) { logged.push_back(entry.message); });
    bool trayAvailable = false;
    tray = {[&] { return trayAvailable; }, std::chrono::milliseconds(0)};
    preferences.setQuickSearchHotKey(HotKeyCombination{40, 768});
    start();
    EXPECT_FALSE(controller->isIconShown());
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_TRUE(logged[0].starts_with("Kein Infobereich (System-Tray) f\u00FCr das Statussymbol"));
    hotKeys->press();
    EXPECT_TRUE(controller->quickSearch()->isPanelVisible());

    QCoreApplication::processEvents();
    EXPECT_FALSE(controller->isIconShown());
    trayAvailable = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller->isIconShown(); }, 5000));
    EXPECT_EQ(logged.back(), "Infobereich gefunden: Das Statussymbol wird angezeigt.");
}

TEST_F(StatusItemControllerTest, quickSearchRunsThroughTheRunnerWithTheLoadedSettings) {
    load(goodFile);
    controller->toggleQuickSearch();
    QWidget* panel = controller->quickSearch()->panel();
    QTest::keyClicks(panel->focusWidget(), "zwei");
    QTest::keyClick(panel->focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(panel->isVisible()) << "hidden before the command runs";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !runs->runs.empty(); }, 5000));
    EXPECT_EQ(runs->runs[0].command.command, "echo zwei");
    EXPECT_EQ(runs->runs[0].openIn, OpenBehavior::current);
}

} // namespace
} // namespace kelvane

#include "Kelvane/Settings/AdvancedPane.hpp"

#include "Kelvane/Settings/SettingsForm.hpp"

#include "support/RecordingDialogs.hpp"
#include "support/SettingsPaneFixture.hpp"

#include <QCheckBox>
#include <QPushButton>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t migrate = 0;
constexpr std::size_t cancel = 1;

class AdvancedPaneTest : public test::SettingsPaneTest {
protected:
    AdvancedPaneTest() : SettingsPaneTest("shuttle.json") {}

    QString text(const char* name) { return pane.findChild<QLabel*>(name)->text(); }
    QPushButton& migrateButton() { return *pane.findChild<QPushButton*>("migrateButton"); }
    SettingsForm::SymbolCaption& problem() {
        return *pane.findChild<SettingsForm::SymbolCaption*>("problemNote");
    }

    test::RecordingDialogs dialogs;
    AdvancedPane pane{preferences, store, dialogs};
};

TEST_F(AdvancedPaneTest, countsAndMigratesOnlyAShuttleFileAsLoaded) {
    EXPECT_EQ(text("formatValue"), QString::fromUtf8("\u2014"));
    EXPECT_EQ(text("commandCount"), "0");
    EXPECT_EQ(text("warningCount"), "0");
    EXPECT_FALSE(migrateButton().isEnabled());
    EXPECT_FALSE(problem().isVisibleTo(&pane));

    store.reload();
    EXPECT_TRUE(problem().isVisibleTo(&pane));
    EXPECT_EQ(problem().text().toStdString(), store.problem()->message());

    load(test::configurationText(false, 3));
    EXPECT_EQ(text("formatValue"), "Kelvane (v2)");
    EXPECT_EQ(text("commandCount"), "3");
    EXPECT_FALSE(migrateButton().isEnabled());

    load("{\"cmds\": [{\"name\": \"Eins\", \"cmd\": \"echo 1\"}], \"unbekannt\": 1}");
    EXPECT_EQ(text("formatValue"), "Shuttle (v1)");
    EXPECT_EQ(text("commandCount"), "1");
    EXPECT_EQ(text("warningCount"), "1");
    EXPECT_TRUE(migrateButton().isEnabled());

    // The configuration kept after a broken save is not what the file holds.
    load("{\"cmds\": [");
    EXPECT_EQ(text("formatValue"), "Shuttle (v1)");
    EXPECT_FALSE(migrateButton().isEnabled());
}

TEST_F(AdvancedPaneTest, migrationAsksFirstThenRewritesAndReloads) {
    load(test::configurationText(true, 42));
    dialogs.answers = {cancel, migrate};
    migrateButton().click();
    ASSERT_EQ(dialogs.alerts.size(), 1u);
    const Alert& alert = dialogs.alerts[0];
    EXPECT_EQ(alert.messageText, "Konfiguration nach v2 migrieren?");
    EXPECT_EQ(alert.informativeText,
              "Die aktuelle Datei wird als \u201Eshuttle.json.backup\u201C gesichert und "
              "anschlie\u00dfend im neuen Format geschrieben. Alle 42 Befehle bleiben "
              "unver\u00e4ndert erhalten.");
    EXPECT_EQ(alert.buttons, (std::vector<std::string>{"Migrieren", "Abbrechen"}));
    EXPECT_FALSE(fs::exists(folder / "shuttle.json.backup"));
    EXPECT_EQ(reloads, 0);

    migrateButton().click();
    EXPECT_EQ(test::contentOf(folder / "shuttle.json.backup"), test::configurationText(true, 42));
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(text("formatValue"), "Kelvane (v2)");
    EXPECT_EQ(text("commandCount"), "42");
    EXPECT_FALSE(migrateButton().isEnabled());
}

TEST_F(AdvancedPaneTest, aFailedMigrationIsShownAndNothingIsReloaded) {
    load(test::configurationText(true, 2));
    folder.write("shuttle.json.backup/blockiert", "");
    dialogs.answers = {migrate};
    migrateButton().click();
    ASSERT_EQ(dialogs.alerts.size(), 2u);
    const Alert& failure = dialogs.alerts[1];
    EXPECT_NE(failure.messageText.find("shuttle.json.backup\u201C"), std::string::npos)
        << failure.messageText;
    EXPECT_EQ(failure.informativeText, "");
    EXPECT_EQ(failure.buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(reloads, 0);
    EXPECT_EQ(test::contentOf(file), test::configurationText(true, 2));

    // A save the store has not reloaded yet is what the file keeps.
    fs::remove_all(folder / "shuttle.json.backup");
    folder.write("shuttle.json", test::configurationText(true, 3));
    dialogs.alerts.clear();
    dialogs.answers = {migrate};
    migrateButton().click();
    ASSERT_EQ(dialogs.alerts.size(), 2u);
    EXPECT_NE(dialogs.alerts[1].messageText.find("w\u00E4hrend der Migration ge\u00E4ndert"),
              std::string::npos)
        << dialogs.alerts[1].messageText;
    EXPECT_EQ(test::contentOf(file), test::configurationText(true, 3));
}

TEST_F(AdvancedPaneTest, theRiskSwitchAndReloadButton) {
    auto& risk = *pane.findChild<QCheckBox*>("riskSwitch");
    risk.click();
    EXPECT_EQ(preferenceStore.values.at("riskConfirmationEnabled"), PreferenceValue(false));
    preferences.setRiskConfirmationEnabled(true);
    EXPECT_TRUE(risk.isChecked());
    pane.findChild<QPushButton*>("reloadButton")->click();
    EXPECT_EQ(reloads, 1);
}

} // namespace
} // namespace kelvane

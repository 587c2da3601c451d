#include "Kelvane/Settings/TerminalPane.hpp"

#include "Kelvane/platform/PlatformWords.hpp"
#include "Kelvane/platform/TerminalPrograms.hpp"

#include "support/SettingsPaneFixture.hpp"

#include <QLabel>

namespace kelvane {
namespace {

class TerminalPaneTest : public test::SettingsPaneTest {
protected:
    QComboBox& picker() { return *pane.findChild<QComboBox*>("targetPicker"); }
    QComboBox& programPicker() { return *pane.findChild<QComboBox*>("terminalPicker"); }
    std::string programNote() {
        return pane.findChild<QLabel*>("terminalProgramNote")->text().toStdString();
    }
    bool showsTabNote() {
        const auto* note = pane.findChild<QWidget*>("tabNote");
        return note && note->isVisibleTo(&pane);
    }

    TerminalPane pane{preferences, store};
};

TEST_F(TerminalPaneTest, choosingStoresTheOverrideAndTheFileOptionRemovesIt) {
    EXPECT_EQ(picker().itemText(0), "Aus Konfiguration (Neues Fenster)") << "nothing loaded";
    EXPECT_EQ(picker().currentIndex(), 0);
    EXPECT_FALSE(showsTabNote());
    load(test::configurationText(false, 1, "current"));
    EXPECT_EQ(picker().itemText(0), "Aus Konfiguration (Aktuelles Fenster)");
    EXPECT_EQ(picker().count(), 5);

    choose(picker(), "Aktuelles Fenster");
    EXPECT_EQ(preferenceStore.values.at("openInOverride"), PreferenceValue(std::string("current")));
    choose(picker(), "Aus Konfiguration (Aktuelles Fenster)");
    EXPECT_FALSE(preferenceStore.values.contains("openInOverride"));

    preferences.setOpenInOverride(OpenBehavior::tab);
    EXPECT_EQ(picker().currentText(), "Neuer Tab");
}

TEST_F(TerminalPaneTest, theProgramIsTheFilesUnlessOneIsChosenAndItsNoteSaysWhatItCanDo) {
    load("{\"version\": 2, \"settings\": {\"terminal\": \"xterm\"}, \"items\": []}\n");
    const QString fromFile = QString::fromStdString(
        "Aus Konfiguration (" + TerminalPrograms::usedName(TerminalKind::xterm) + ")");
    EXPECT_EQ(programPicker().itemText(0), fromFile);
    EXPECT_EQ(programNote(), TerminalPrograms::description(TerminalKind::xterm));
    EXPECT_EQ(programNote().find("gibt es auf diesem System nicht"), std::string::npos);
    const TerminalKind lacking = TerminalPrograms::platform() == TerminalPlatform::macOS
                                     ? TerminalKind::xterm
                                     : TerminalKind::terminalApp;
    EXPECT_EQ(TerminalPrograms::description(lacking).rfind(
                  std::string(terminalProgram(lacking).name) +
                      " gibt es auf diesem System nicht; Kelvane verwendet " +
                      TerminalPrograms::usedName(lacking) + ". ",
                  0),
              0U);

    // The system's own terminal is always offered.
    const TerminalKind own = terminalKindUsedOn(TerminalPrograms::platform(), TerminalKind::tmux);
    choose(programPicker(), QString::fromStdString(TerminalPrograms::usedName(own)));
    EXPECT_EQ(preferenceStore.values.at("terminalOverride"),
              PreferenceValue(std::string(rawValue(own))));
    EXPECT_EQ(preferences.terminalOverride(), own);
    EXPECT_EQ(programNote(), TerminalPrograms::description(own));

    choose(programPicker(), fromFile);
    EXPECT_FALSE(preferenceStore.values.contains("terminalOverride"));
    EXPECT_EQ(programNote(), TerminalPrograms::description(TerminalKind::xterm));
}

TEST_F(TerminalPaneTest, theTabNoteFollowsTheEffectiveBehaviour) {
    if (!platformWords().tabNote)
        GTEST_SKIP() << "tabs need no permission here";
    struct Case {
        const char* fileOpenIn;
        std::optional<OpenBehavior> override;
        bool note;
    };
    const Case cases[] = {
        {"window", OpenBehavior::tab, true},
        {"tab", std::nullopt, true},
        {"tab", OpenBehavior::window, false},
        {"current", std::nullopt, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.fileOpenIn) + " " +
                     std::string(test.override ? rawValue(*test.override) : "none"));
        load(test::configurationText(false, 1, test.fileOpenIn));
        preferences.setOpenInOverride(test.override);
        EXPECT_EQ(showsTabNote(), test.note);
    }
}

} // namespace
} // namespace kelvane

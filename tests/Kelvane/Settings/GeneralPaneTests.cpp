#include "Kelvane/Settings/GeneralPane.hpp"

#include "Kelvane/HotKey/HotKeyRecorder.hpp"
#include "Kelvane/platform/PlatformWords.hpp"

#include "support/FakeDesktop.hpp"
#include "support/FakeHotKeyRegistrar.hpp"
#include "support/SettingsPaneFixture.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using LoginStatus = LoginItemService::Status;

class GeneralPaneTest : public test::SettingsPaneTest {
protected:
    GeneralPaneTest() { load(test::configurationText(false, 2)); }

    template <typename Widget> Widget& find(const char* name) {
        auto* widget = pane.findChild<Widget*>(name);
        if (!widget)
            throw std::runtime_error(name);
        return *widget;
    }

    void record(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        auto& recorder = find<HotKeyRecorder>("hotKeyRecorder");
        recorder.startRecording();
        QTest::keyClick(&recorder, key, modifiers);
    }

    test::FakeDesktop desktop;
    std::optional<fs::path> chosenFile;
    std::vector<fs::path> chooserStartedAt;
    int hotKeyChanges = 0;
    std::unique_ptr<test::FakeHotKeyRegistrar> ownedRegistrar =
        std::make_unique<test::FakeHotKeyRegistrar>();
    test::FakeHotKeyRegistrar& registrar = *ownedRegistrar;
    HotKeyService hotKeys{std::move(ownedRegistrar)};
    GeneralPane pane{preferences,
                     store,
                     [this] {
                         ++hotKeyChanges;
                         hotKeys.registerCombination(preferences.quickSearchHotKey());
                     },
                     hotKeys,
                     desktop.launchAtLogin,
                     {desktop.workspace, desktop.dialogs},
                     [this](const fs::path& current) {
                         chooserStartedAt.push_back(current);
                         return chosenFile;
                     }};
};

TEST_F(GeneralPaneTest, theHotKeyIsStoredAndReportedOncePerChange) {
    record(Qt::Key_K, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(preferenceStore.values.at("quickSearchHotKey"),
              PreferenceValue(std::string("40,768")));
    EXPECT_EQ(hotKeyChanges, 1);

    record(Qt::Key_K, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(hotKeyChanges, 1);

    auto& clear = find<QToolButton>("hotKeyClearButton");
    clear.click();
    EXPECT_FALSE(preferenceStore.values.contains("quickSearchHotKey"));
    EXPECT_EQ(hotKeyChanges, 2);
    EXPECT_TRUE(clear.isHidden());

    // A change made elsewhere is shown and reported as well.
    preferences.setQuickSearchHotKey(HotKeyCombination{49, 2304});
    EXPECT_EQ(find<QPushButton>("hotKeyButton").text(),
              QString::fromStdString(HotKeyCombination{49, 2304}.displayString()));
    EXPECT_EQ(hotKeyChanges, 3);
}

TEST_F(GeneralPaneTest, aRefusedHotKeyIsRecordedAndNamedUntilOneWorks) {
    auto& note = find<QLabel>("hotKeyNote");
    auto& recorder = find<HotKeyRecorder>("hotKeyRecorder");
    EXPECT_TRUE(note.isHidden());

    const struct {
        int32_t refusal;
        const char* note;
    } refusals[] = {
        {HotKeyRegistrar::combinationTaken,
         "Dieses Tastenk\u00fcrzel ist bereits von einem anderen Programm belegt."},
        {HotKeyRegistrar::grabsUnavailable,
         "Globale Tastenk\u00fcrzel sind auf diesem Desktop nicht verf\u00fcgbar."},
        {HotKeyRegistrar::keyUnavailable,
         "Diese Taste gibt es auf der aktuellen Tastaturbelegung nicht."},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.note);
        registrar.refusal = refusal.refusal;
        preferences.setQuickSearchHotKey(std::nullopt);
        record(Qt::Key_K, Qt::ShiftModifier | Qt::ControlModifier);
        EXPECT_EQ(recorder.combination(), (HotKeyCombination{40, 768}));
        EXPECT_EQ(preferenceStore.values.at("quickSearchHotKey"),
                  PreferenceValue(std::string("40,768")));
        EXPECT_FALSE(note.isHidden());
        EXPECT_EQ(note.text(), QString::fromUtf8(refusal.note));
        EXPECT_TRUE(recorder.isRefused());
    }

    registrar.refusal = 0;
    record(Qt::Key_J, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(registrar.held);
    EXPECT_TRUE(note.isHidden());
    EXPECT_FALSE(recorder.isRefused());
}

TEST_F(GeneralPaneTest, sortOrderAndTooltipsReloadOnceWhenChanged) {
    auto& picker = find<QComboBox>("sortPicker");
    EXPECT_EQ(picker.currentText(), "Alphabetisch");
    choose(picker, "Reihenfolge der Datei");
    EXPECT_EQ(preferences.sortMode(), SortMode::fileOrder);
    EXPECT_EQ(reloads, 1);
    choose(picker, "Reihenfolge der Datei");
    EXPECT_EQ(reloads, 1);

    auto& tooltips = find<QCheckBox>("tooltipSwitch");
    EXPECT_TRUE(tooltips.isChecked());
    tooltips.click();
    EXPECT_FALSE(preferences.showCommandTooltips());
    EXPECT_EQ(reloads, 2);

    preferences.setSortMode(SortMode::alphabetical);
    preferences.setShowCommandTooltips(true);
    EXPECT_EQ(picker.currentText(), "Alphabetisch");
    EXPECT_TRUE(tooltips.isChecked());
    EXPECT_EQ(reloads, 2);
}

TEST_F(GeneralPaneTest, theLaunchSwitchShowsWhatTheSystemReports) {
    auto& launch = find<QCheckBox>("launchAtLoginSwitch");
    auto& approval = find<QLabel>("approvalNote");
    desktop.loginItems.refusal = "Nicht erlaubt";
    launch.click();
    EXPECT_EQ(desktop.loginItems.registerCalls, 1);
    EXPECT_FALSE(launch.isChecked());

    desktop.loginItems.refusal.reset();
    launch.click();
    EXPECT_TRUE(launch.isChecked());
    EXPECT_FALSE(approval.isVisibleTo(&pane));

    desktop.loginItems.currentStatus = LoginStatus::requiresApproval;
    pane.show();
    EXPECT_FALSE(launch.isChecked());
    EXPECT_TRUE(approval.isVisibleTo(&pane));
    EXPECT_EQ(approval.text(), QString::fromUtf8(platformWords().loginItemDisabledNote));
}

TEST_F(GeneralPaneTest, theFileRowShowsRevealsAndChangesTheFile) {
    EXPECT_EQ(find<QLabel>("fileName").text(), "kelvane.json");
    EXPECT_EQ(find<QLabel>("folderCaption").text(), QString::fromStdString(folder.path()));
    auto& choose = find<QPushButton>("chooseFileButton");

    choose.click();
    EXPECT_EQ(chooserStartedAt, std::vector<fs::path>{file});
    EXPECT_EQ(store.url(), file);
    EXPECT_EQ(reloads, 0);

    preferences.setConfigBookmark(std::vector<uint8_t>{1, 2});
    chosenFile = folder.write("andere/shuttle.json", test::configurationText(true, 3));
    choose.click();
    EXPECT_EQ(store.url(), *chosenFile);
    EXPECT_EQ(preferences.configPath(), chosenFile->string());
    EXPECT_EQ(preferences.configBookmark(), std::nullopt);
    EXPECT_EQ(store.configuration()->allCommands().size(), 3u);
    EXPECT_EQ(find<QLabel>("fileName").text(), "shuttle.json");
    EXPECT_EQ(find<QLabel>("folderCaption").text(), QString::fromStdString(folder / "andere"));

    find<QPushButton>("revealFileButton").click();
    EXPECT_EQ(desktop.workspace.requests,
              std::vector<std::string>{"reveal: " + chosenFile->string()});
    EXPECT_TRUE(desktop.dialogs.alerts.empty());

    desktop.workspace.canOpen = false;
    find<QPushButton>("revealFileButton").click();
    ASSERT_EQ(desktop.dialogs.alerts.size(), 1u) << "a folder nothing could show is not silent";
    EXPECT_EQ(desktop.dialogs.alerts[0].messageText,
              "\u201E" + chosenFile->string() + "\u201C konnte nicht gezeigt werden.");
}

} // namespace
} // namespace kelvane

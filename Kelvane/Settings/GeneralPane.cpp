#include "Kelvane/Settings/GeneralPane.hpp"

#include "Kelvane/HotKey/HotKeyRecorder.hpp"
#include "Kelvane/Settings/SettingsForm.hpp"
#include "Kelvane/platform/PlatformWords.hpp"
#include "Kelvane/platform/SecurityScopedBookmark.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvane {
namespace {

std::optional<std::string> storedText(const std::optional<HotKeyCombination>& combination) {
    return combination ? std::optional(combination->storedValue()) : std::nullopt;
}

// Why the hot key does not work, empty while nothing stands in its way. Wayland gives no program
// a global key, whether or not one has been recorded.
QString hotKeyNote(int32_t status) {
    if (QGuiApplication::platformName() == "wayland")
        return QString::fromUtf8(
            "Globale Tastenk\u00fcrzel sind unter Wayland nicht verf\u00fcgbar.");
    switch (status) {
    case 0:
        return {};
    case HotKeyRegistrar::combinationTaken:
        return QString::fromUtf8(
            "Dieses Tastenk\u00fcrzel ist bereits von einem anderen Programm belegt.");
    case HotKeyRegistrar::keyUnavailable:
        return QString::fromUtf8("Diese Taste gibt es auf der aktuellen Tastaturbelegung nicht.");
    case HotKeyRegistrar::grabsUnavailable:
        return QString::fromUtf8(
            "Globale Tastenk\u00fcrzel sind auf diesem Desktop nicht verf\u00fcgbar.");
    default:
        return QString::fromUtf8(
                   "Dieses Tastenk\u00fcrzel lie\u00df sich nicht einrichten (Status %1).")
            .arg(status);
    }
}

} // namespace

GeneralPane::GeneralPane(Preferences& preferences, ConfigStore& store,
                         std::function<void()> onHotKeyChange, const HotKeyService& hotKeys,
                         LaunchAtLogin& launchAtLogin, DesktopOpener opener,
                         ChooseConfigurationFile chooseFile, QWidget* parent)
    : QWidget(parent), m_preferences(preferences), m_store(store),
      m_onHotKeyChange(std::move(onHotKeyChange)), m_hotKeys(hotKeys),
      m_launchAtLogin(launchAtLogin), m_opener(opener), m_chooseFile(std::move(chooseFile)),
      m_hotKeyText(storedText(preferences.quickSearchHotKey())) {
    auto* pane = new QVBoxLayout(this);
    addConfigurationSection(*pane);
    addBehaviourSection(*pane);
    pane->addStretch();

    connect(&m_store, &ConfigStore::urlChanged, this, &GeneralPane::showLocation);
    connect(&m_preferences, &Preferences::sortModeChanged, this, &GeneralPane::showSortMode);
    connect(&m_preferences, &Preferences::showCommandTooltipsChanged, this,
            [this] { m_tooltipSwitch->setChecked(m_preferences.showCommandTooltips()); });
    connect(&m_preferences, &Preferences::quickSearchHotKeyChanged, this,
            &GeneralPane::followHotKey);
    connect(&m_hotKeys, &HotKeyService::registrationChanged, this,
            &GeneralPane::showHotKeyRegistration);
    showLocation();
    showSortMode();
    showLaunchAtLogin();
    showHotKeyRegistration();
}

void GeneralPane::addConfigurationSection(QBoxLayout& pane) {
    QFormLayout* form = SettingsForm::addSection(pane, QString::fromUtf8("Konfiguration"));

    auto* fileRow = new QWidget;
    auto* fileLayout = new QHBoxLayout(fileRow);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    m_fileName = new SettingsForm::MiddleElidedLabel;
    m_fileName->setObjectName("fileName");
    auto* reveal = new QPushButton(QString::fromUtf8("Zeigen"));
    reveal->setObjectName("revealFileButton");
    auto* choose = new QPushButton(QString::fromUtf8("W\u00e4hlen\u2026"));
    choose->setObjectName("chooseFileButton");
    fileLayout->addWidget(m_fileName, 1);
    fileLayout->addWidget(reveal);
    fileLayout->addWidget(choose);
    form->addRow(QString::fromUtf8("Datei"), fileRow);
    connect(reveal, &QPushButton::clicked, this,
            [this] { m_opener.revealFile(m_store.url().string()); });
    connect(choose, &QPushButton::clicked, this, &GeneralPane::chooseFile);

    m_folder = SettingsForm::caption({});
    m_folder->setObjectName("folderCaption");
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString(), m_folder);

    m_sortPicker = new QComboBox;
    m_sortPicker->setObjectName("sortPicker");
    m_sortPicker->addItem(QString::fromUtf8("Alphabetisch"), int(SortMode::alphabetical));
    m_sortPicker->addItem(QString::fromUtf8("Reihenfolge der Datei"), int(SortMode::fileOrder));
    form->addRow(QString::fromUtf8("Sortierung"), m_sortPicker);
    connect(m_sortPicker, &QComboBox::activated, this, [this](int index) {
        const auto mode = static_cast<SortMode>(m_sortPicker->itemData(index).toInt());
        if (mode == m_preferences.sortMode())
            return;
        m_preferences.setSortMode(mode);
        m_store.reload();
    });
}

void GeneralPane::addBehaviourSection(QBoxLayout& pane) {
    QFormLayout* form = SettingsForm::addSection(pane, QString::fromUtf8("Verhalten"));

    m_launchSwitch = new QCheckBox(QString::fromUtf8("Bei der Anmeldung starten"));
    m_launchSwitch->setObjectName("launchAtLoginSwitch");
    form->addRow(QString(), m_launchSwitch);
    connect(m_launchSwitch, &QCheckBox::clicked, this, [this](bool on) {
        m_launchAtLogin.setEnabled(on);
        showLaunchAtLogin();
    });

    m_approvalNote = SettingsForm::caption(QString::fromUtf8(platformWords().loginItemDisabledNote),
                                           SettingsForm::attentionColor);
    m_approvalNote->setObjectName("approvalNote");
    form->addRow(QString(), m_approvalNote);

    m_tooltipSwitch = new QCheckBox(QString::fromUtf8("Befehl als Tooltip anzeigen"));
    m_tooltipSwitch->setObjectName("tooltipSwitch");
    m_tooltipSwitch->setChecked(m_preferences.showCommandTooltips());
    form->addRow(QString(), m_tooltipSwitch);
    connect(m_tooltipSwitch, &QCheckBox::clicked, this, [this](bool on) {
        m_preferences.setShowCommandTooltips(on);
        m_store.reload();
    });

    m_recorder = new HotKeyRecorder;
    m_recorder->setObjectName("hotKeyRecorder");
    m_recorder->setCombination(m_preferences.quickSearchHotKey());
    form->addRow(QString::fromUtf8("Schnellsuche"), m_recorder);
    connect(m_recorder, &HotKeyRecorder::combinationEdited, this,
            [this](std::optional<HotKeyCombination> combination) {
                m_preferences.setQuickSearchHotKey(combination);
            });

    m_hotKeyNote = SettingsForm::caption({}, SettingsForm::attentionColor);
    m_hotKeyNote->setObjectName("hotKeyNote");
    form->addRow(QString(), m_hotKeyNote);
}

void GeneralPane::showEvent(QShowEvent* event) {
    showLaunchAtLogin();
    QWidget::showEvent(event);
}

void GeneralPane::chooseFile() {
    const std::optional<std::filesystem::path> chosen = m_chooseFile(m_store.url());
    if (!chosen)
        return;
    m_preferences.setConfigBookmark(securityScopedBookmark(*chosen));
    m_store.changeLocation(*chosen);
}

void GeneralPane::showLocation() {
    m_fileName->setText(QString::fromStdString(m_store.url().filename().string()));
    m_fileName->setToolTip(QString::fromStdString(m_store.url().string()));
    m_folder->setText(QString::fromStdString(m_store.url().parent_path().string()));
}

void GeneralPane::showSortMode() {
    m_sortPicker->setCurrentIndex(m_sortPicker->findData(int(m_preferences.sortMode())));
}

void GeneralPane::showLaunchAtLogin() {
    m_launchSwitch->setChecked(m_launchAtLogin.isEnabled());
    SettingsForm::showRow(*m_approvalNote, m_launchAtLogin.requiresApproval());
}

void GeneralPane::followHotKey() {
    const std::optional<HotKeyCombination> combination = m_preferences.quickSearchHotKey();
    m_recorder->setCombination(combination);
    std::optional<std::string> text = storedText(combination);
    if (text == m_hotKeyText)
        return;
    m_hotKeyText = std::move(text);
    if (m_onHotKeyChange)
        m_onHotKeyChange();
}

void GeneralPane::showHotKeyRegistration() {
    const QString note = hotKeyNote(m_hotKeys.registrationStatus());
    m_hotKeyNote->setText(note);
    SettingsForm::showRow(*m_hotKeyNote, !note.isEmpty());
    m_recorder->setRefused(!note.isEmpty());
}

} // namespace kelvane

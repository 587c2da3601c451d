#include "Kelvane/Settings/TerminalPane.hpp"

#include "Kelvane/Settings/SettingsForm.hpp"
#include "Kelvane/platform/PlatformWords.hpp"
#include "Kelvane/platform/TerminalPrograms.hpp"

#include "KelvaneCore/Terminal/TerminalProgram.hpp"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kelvane {
namespace {

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), qsizetype(view.size()));
}

/// A picker whose first item follows the file and whose other items, after a separator, each
/// stand for a stored raw value.
template <typename Value> void fillPicker(QComboBox& picker, const std::vector<Value>& values) {
    picker.addItem(QString()); // no override; named in refresh()
    picker.insertSeparator(1);
    for (const Value value : values)
        picker.addItem(QString(), text(rawValue(value)));
}

template <typename Value> void showChoice(QComboBox& picker, const std::optional<Value>& override) {
    const int index = override ? picker.findData(text(rawValue(*override))) : 0;
    picker.setCurrentIndex(std::max(index, 0));
}

QString fromFile(const std::string& name) {
    return QString::fromUtf8("Aus Konfiguration (") + QString::fromStdString(name) + ")";
}

} // namespace

TerminalPane::TerminalPane(Preferences& preferences, ConfigStore& store, QWidget* parent)
    : QWidget(parent), m_preferences(preferences), m_store(store), m_programPicker(new QComboBox),
      m_programNote(SettingsForm::caption(QString())), m_targetPicker(new QComboBox),
      m_tabNote(platformWords().tabNote
                    ? new SettingsForm::SymbolCaption("info.circle", text(*platformWords().tabNote))
                    : nullptr) {
    auto* pane = new QVBoxLayout(this);
    QFormLayout* terminal = SettingsForm::addSection(*pane, QString::fromUtf8("Terminal"));
    m_programPicker->setObjectName("terminalPicker");
    const std::vector<TerminalKind> installed = TerminalPrograms::installed();
    fillPicker(*m_programPicker, installed);
    for (std::size_t index = 0; index < installed.size(); ++index)
        m_programPicker->setItemText(
            int(index) + 2, QString::fromStdString(TerminalPrograms::usedName(installed[index])));
    terminal->addRow(QString::fromUtf8("Programm"), m_programPicker);
    m_programNote->setObjectName("terminalProgramNote");
    terminal->addRow(QString(), m_programNote);

    QFormLayout* target =
        SettingsForm::addSection(*pane, QString::fromUtf8("Wo Befehle ge\u00f6ffnet werden"));
    m_targetPicker->setObjectName("targetPicker");
    const std::vector<OpenBehavior> behaviours(allOpenBehaviors.begin(), allOpenBehaviors.end());
    fillPicker(*m_targetPicker, behaviours);
    for (std::size_t index = 0; index < behaviours.size(); ++index)
        m_targetPicker->setItemText(int(index) + 2, text(behaviourName(behaviours[index])));
    target->addRow(QString::fromUtf8("Ziel"), m_targetPicker);
    if (m_tabNote) {
        m_tabNote->setObjectName("tabNote");
        target->addRow(QString(), m_tabNote);
    }
    pane->addStretch();

    connect(m_programPicker, &QComboBox::activated, this, [this](int index) {
        const QString raw = m_programPicker->itemData(index).toString();
        m_preferences.setTerminalOverride(terminalKindFromRawValue(raw.toStdString()));
    });
    connect(m_targetPicker, &QComboBox::activated, this, [this](int index) {
        const QString raw = m_targetPicker->itemData(index).toString();
        m_preferences.setOpenInOverride(openBehaviorFromRawValue(raw.toStdString()));
    });
    connect(&m_preferences, &Preferences::terminalOverrideChanged, this, &TerminalPane::refresh);
    connect(&m_preferences, &Preferences::openInOverrideChanged, this, &TerminalPane::refresh);
    connect(&m_store, &ConfigStore::configurationChanged, this, &TerminalPane::refresh);
    refresh();
}

void TerminalPane::refresh() {
    const auto& configuration = m_store.configuration();
    const TerminalKind fileProgram =
        configuration ? configuration->settings.terminal : TerminalKind::terminalApp;
    const OpenBehavior fileTarget =
        configuration ? configuration->settings.openIn : OpenBehavior::window;
    m_programPicker->setItemText(0, fromFile(TerminalPrograms::usedName(fileProgram)));
    m_targetPicker->setItemText(0, fromFile(std::string(behaviourName(fileTarget))));
    showChoice(*m_programPicker, m_preferences.terminalOverride());
    showChoice(*m_targetPicker, m_preferences.openInOverride());

    const TerminalKind program = m_preferences.terminalOverride().value_or(fileProgram);
    m_programNote->setText(QString::fromStdString(TerminalPrograms::description(program)));
    // Only Terminal.app needs the permission, for the keystroke that opens a tab.
    if (m_tabNote)
        SettingsForm::showRow(
            *m_tabNote, m_preferences.openInOverride().value_or(fileTarget) == OpenBehavior::tab &&
                            terminalKindUsedOn(TerminalPrograms::platform(), program) ==
                                TerminalKind::terminalApp);
}

} // namespace kelvane

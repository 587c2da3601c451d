#include "Kelvane/Settings/TerminalPane.hpp"

#include "Kelvane/Settings/SettingsForm.hpp"
#include "Kelvane/platform/PlatformWords.hpp"
#include "Kelvane/platform/ScriptEngineFactory.hpp"

#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace kelvane {
namespace {

QString behaviourName(OpenBehavior behavior) {
    switch (behavior) {
    case OpenBehavior::tab:
        return QString::fromUtf8("Neuer Tab");
    case OpenBehavior::current:
        return QString::fromUtf8("Aktuelles Fenster");
    case OpenBehavior::window:
        break;
    }
    return QString::fromUtf8("Neues Fenster");
}

QString rawText(OpenBehavior behavior) {
    const std::string_view raw = rawValue(behavior);
    return QString::fromUtf8(raw.data(), qsizetype(raw.size()));
}

} // namespace

TerminalPane::TerminalPane(Preferences& preferences, ConfigStore& store, QWidget* parent)
    : QWidget(parent), m_preferences(preferences), m_store(store), m_targetPicker(new QComboBox),
      m_tabNote(platformWords().tabNote
                    ? new SettingsForm::SymbolCaption("info.circle",
                                                      QString::fromUtf8(*platformWords().tabNote))
                    : nullptr) {
    auto* pane = new QVBoxLayout(this);
    QFormLayout* terminal = SettingsForm::addSection(*pane, QString::fromUtf8("Terminal"));
    auto* program = new QLabel(QString::fromStdString(terminalProgramName()));
    program->setObjectName("terminalProgram");
    terminal->addRow(QString::fromUtf8("Programm"), program);
    auto* programNote =
        SettingsForm::caption(QString::fromUtf8(platformWords().terminalProgramNote));
    programNote->setObjectName("terminalProgramNote");
    terminal->addRow(QString(), programNote);

    QFormLayout* target =
        SettingsForm::addSection(*pane, QString::fromUtf8("Wo Befehle ge\u00f6ffnet werden"));
    m_targetPicker->setObjectName("targetPicker");
    m_targetPicker->addItem(QString()); // no override; named in refresh()
    m_targetPicker->insertSeparator(1);
    for (const OpenBehavior behavior : allOpenBehaviors)
        m_targetPicker->addItem(behaviourName(behavior), rawText(behavior));
    target->addRow(QString::fromUtf8("Ziel"), m_targetPicker);
    if (m_tabNote) {
        m_tabNote->setObjectName("tabNote");
        target->addRow(QString(), m_tabNote);
    }
    pane->addStretch();

    connect(m_targetPicker, &QComboBox::activated, this, [this](int index) {
        const QString raw = m_targetPicker->itemData(index).toString();
        m_preferences.setOpenInOverride(openBehaviorFromRawValue(raw.toStdString()));
    });
    connect(&m_preferences, &Preferences::openInOverrideChanged, this, &TerminalPane::refresh);
    connect(&m_store, &ConfigStore::configurationChanged, this, &TerminalPane::refresh);
    refresh();
}

void TerminalPane::refresh() {
    std::optional<OpenBehavior> configured;
    if (m_store.configuration())
        configured = m_store.configuration()->settings.openIn;
    m_targetPicker->setItemText(0, QString::fromUtf8("Aus Konfiguration (") +
                                       behaviourName(configured.value_or(OpenBehavior::window)) +
                                       ")");
    const std::optional<OpenBehavior> override = m_preferences.openInOverride();
    const int index = override ? m_targetPicker->findData(rawText(*override)) : 0;
    m_targetPicker->setCurrentIndex(index);
    if (m_tabNote)
        SettingsForm::showRow(*m_tabNote, override.value_or(configured.value_or(
                                              OpenBehavior::window)) == OpenBehavior::tab);
}

} // namespace kelvane

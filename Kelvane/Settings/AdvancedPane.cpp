#include "Kelvane/Settings/AdvancedPane.hpp"

#include "Kelvane/Settings/SettingsForm.hpp"

#include "KelvaneCore/Configuration/ConfigMigrator.hpp"

#include <QCheckBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace kelvane {
namespace {

constexpr std::size_t migrateButton = 0;

Alert migrationAlert(const std::filesystem::path& file, std::size_t commandCount) {
    Alert alert;
    alert.messageText = "Konfiguration nach v2 migrieren?";
    alert.informativeText = "Die aktuelle Datei wird als \u201E" +
                            ConfigMigrator::backupPath(file).filename().string() +
                            "\u201C gesichert und anschlie\u00dfend im neuen Format "
                            "geschrieben. Alle " +
                            std::to_string(commandCount) +
                            " Befehle bleiben unver\u00e4ndert erhalten.";
    alert.buttons = {"Migrieren", "Abbrechen"};
    return alert;
}

/// What macOS shows for a failed file operation: its description and one button.
Alert failureAlert(const std::exception& error) {
    Alert alert;
    alert.messageText = error.what();
    alert.buttons = {"OK"};
    return alert;
}

QLabel* valueLabel(const char* objectName) {
    auto* label = new QLabel;
    label->setObjectName(objectName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

AdvancedPane::AdvancedPane(Preferences& preferences, ConfigStore& store, Dialogs& dialogs,
                           QWidget* parent)
    : QWidget(parent), m_preferences(preferences), m_store(store), m_dialogs(dialogs) {
    auto* pane = new QVBoxLayout(this);
    addSafetySection(*pane);
    addStatusSection(*pane);
    addConfigurationSection(*pane);
    pane->addStretch();

    connect(&m_preferences, &Preferences::riskConfirmationEnabledChanged, this,
            &AdvancedPane::refresh);
    connect(&m_store, &ConfigStore::configurationChanged, this, &AdvancedPane::refresh);
    connect(&m_store, &ConfigStore::problemChanged, this, &AdvancedPane::refresh);
    refresh();
}

void AdvancedPane::addSafetySection(QBoxLayout& pane) {
    QFormLayout* form = SettingsForm::addSection(pane, QString::fromUtf8("Sicherheit"));
    m_riskSwitch = new QCheckBox(QString::fromUtf8("Vor riskanten Befehlen nachfragen"));
    m_riskSwitch->setObjectName("riskSwitch");
    form->addRow(QString(), m_riskSwitch);
    connect(m_riskSwitch, &QCheckBox::clicked, this,
            [this](bool on) { m_preferences.setRiskConfirmationEnabled(on); });
    form->addRow(QString(),
                 SettingsForm::caption(QString::fromUtf8(
                     "Erkennt unter anderem \u201Esudo\u201C, \u201Erm -rf\u201C, "
                     "Formatierungsbefehle und Pipes aus dem Netz direkt in eine Shell. Einzelne "
                     "Eintr\u00e4ge k\u00f6nnen das mit \"confirm\": false abschalten.")));
}

void AdvancedPane::addStatusSection(QBoxLayout& pane) {
    QFormLayout* form = SettingsForm::addSection(pane, QString::fromUtf8("Status"));
    m_format = valueLabel("formatValue");
    m_commandCount = valueLabel("commandCount");
    m_warningCount = valueLabel("warningCount");
    form->addRow(QString::fromUtf8("Format"), m_format);
    form->addRow(QString::fromUtf8("Befehle"), m_commandCount);
    form->addRow(QString::fromUtf8("Hinweise"), m_warningCount);
    m_problem = new SettingsForm::SymbolCaption("exclamationmark.triangle.fill", QString(),
                                                SettingsForm::attentionColor);
    m_problem->setObjectName("problemNote");
    form->addRow(QString(), m_problem);
}

void AdvancedPane::addConfigurationSection(QBoxLayout& pane) {
    QFormLayout* form = SettingsForm::addSection(pane, QString::fromUtf8("Konfiguration"));
    auto* reload = new QPushButton(QString::fromUtf8("Neu laden"));
    reload->setObjectName("reloadButton");
    form->addRow(QString(), reload);
    connect(reload, &QPushButton::clicked, this, [this] { m_store.reload(); });

    m_migrateButton = new QPushButton(QString::fromUtf8("Nach Schema v2 migrieren\u2026"));
    m_migrateButton->setObjectName("migrateButton");
    form->addRow(QString(), m_migrateButton);
    connect(m_migrateButton, &QPushButton::clicked, this, &AdvancedPane::migrate);
    form->addRow(QString(), SettingsForm::caption(QString::fromUtf8(
                                "Legt eine Sicherungskopie an und schreibt die Datei im neuen "
                                "Format mit Icons, K\u00fcrzeln und beliebig tiefen Gruppen.")));
}

void AdvancedPane::refresh() {
    m_riskSwitch->setChecked(m_preferences.riskConfirmationEnabled());
    const std::optional<Configuration>& configuration = m_store.configuration();
    if (!configuration)
        m_format->setText(QString::fromUtf8("\u2014"));
    else if (configuration->format == ConfigurationFormat::v2)
        m_format->setText(QString::fromUtf8("Kelvane (v2)"));
    else
        m_format->setText(QString::fromUtf8("Shuttle (v1)"));
    m_commandCount->setText(QString::number(configuration ? configuration->commandCount() : 0));
    m_warningCount->setText(
        QString::number(configuration ? countOfWarnings(configuration->warnings) : 0));

    const std::optional<ConfigStore::Problem>& problem = m_store.problem();
    m_problem->setText(problem ? QString::fromStdString(problem->message()) : QString());
    SettingsForm::showRow(*m_problem, problem.has_value());
    m_migrateButton->setEnabled(canMigrate());
}

bool AdvancedPane::canMigrate() const {
    // After a failed reload the configuration kept is not what the file holds (or not even from
    // that file): writing it would replace the file with stale content.
    const std::optional<Configuration>& configuration = m_store.configuration();
    return configuration && configuration->format == ConfigurationFormat::legacyShuttle &&
           !m_store.problem();
}

void AdvancedPane::migrate() {
    if (!canMigrate())
        return;
    const Alert alert = migrationAlert(m_store.url(), m_store.configuration()->commandCount());
    // The alert runs the event loop, in which the store may have reloaded: what is written is
    // what is loaded once the user has answered.
    if (m_dialogs.runModal(alert) != migrateButton || !canMigrate())
        return;
    try {
        // Against the bytes the store loaded: a save it has not reloaded yet is not overwritten.
        ConfigMigrator::migrateInPlace(m_store.url(), *m_store.configuration(),
                                       m_store.loadedBytes());
    } catch (const std::exception& error) {
        m_dialogs.runModal(failureAlert(error));
        return;
    }
    m_store.reload();
}

} // namespace kelvane

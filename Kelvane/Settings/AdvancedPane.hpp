#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"
#include "Kelvane/Preferences/Preferences.hpp"
#include "Kelvane/Store/ConfigStore.hpp"

#include <QWidget>

class QBoxLayout;
class QCheckBox;
class QLabel;
class QPushButton;

namespace kelvane {

namespace SettingsForm {
class SymbolCaption;
}

/// The "Erweitert" pane: the confirmation of risky commands, the state of the loaded
/// configuration, reloading it and migrating a Shuttle file to the version 2 format.
class AdvancedPane : public QWidget {
    Q_OBJECT

public:
    AdvancedPane(Preferences& preferences, ConfigStore& store, Dialogs& dialogs,
                 QWidget* parent = nullptr);

private:
    void addSafetySection(QBoxLayout& pane);
    void addStatusSection(QBoxLayout& pane);
    void addConfigurationSection(QBoxLayout& pane);
    void refresh();
    /// Whether the loaded configuration is a Shuttle file's and is what the file now holds.
    bool canMigrate() const;
    void migrate();

    Preferences& m_preferences;
    ConfigStore& m_store;
    Dialogs& m_dialogs;

    QCheckBox* m_riskSwitch = nullptr;
    QLabel* m_format = nullptr;
    QLabel* m_commandCount = nullptr;
    QLabel* m_warningCount = nullptr;
    SettingsForm::SymbolCaption* m_problem = nullptr;
    QPushButton* m_migrateButton = nullptr;
};

} // namespace kelvane

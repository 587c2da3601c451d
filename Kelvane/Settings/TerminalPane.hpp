#pragma once

#include "Kelvane/Preferences/Preferences.hpp"
#include "Kelvane/Store/ConfigStore.hpp"

#include <QWidget>

class QComboBox;

namespace kelvane {

namespace SettingsForm {
class SymbolCaption;
}

/// The "Terminal" pane: the terminal program and where commands open, either as the
/// configuration file says or overridden for this user.
class TerminalPane : public QWidget {
    Q_OBJECT

public:
    TerminalPane(Preferences& preferences, ConfigStore& store, QWidget* parent = nullptr);

private:
    void refresh();

    Preferences& m_preferences;
    ConfigStore& m_store;
    QComboBox* m_targetPicker;
    /// None where tabs need no permission.
    SettingsForm::SymbolCaption* m_tabNote;
};

} // namespace kelvane

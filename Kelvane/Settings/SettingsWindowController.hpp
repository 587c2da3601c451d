#pragma once

#include "Kelvane/Settings/SettingsView.hpp"

#include <QObject>
#include <QWidget>

#include <functional>
#include <memory>

namespace kelvane {

/// The settings window "Kelvane Einstellungen": made once, 520 × 380 and not resizable,
/// centred on the screen at creation; closing it only hides it.
class SettingsWindowController : public QObject {
    Q_OBJECT

public:
    /// `chooseFile` asks for another configuration file (`chooseConfigurationFileWithDialog` in
    /// the application); `onHotKeyChange` is called once for every change of the stored hot key.
    SettingsWindowController(Preferences& preferences, ConfigStore& store,
                             std::function<void()> onHotKeyChange, const HotKeyService& hotKeys,
                             LaunchAtLogin& launchAtLogin, Dialogs& dialogs, Workspace& workspace,
                             ChooseConfigurationFile chooseFile, QObject* parent = nullptr);
    ~SettingsWindowController() override;

    /// The top-level window, named "settingsWindow"; its tab widget is "settingsTabs".
    QWidget* window() const { return m_window.get(); }

    /// Shows the window where it was last, in front of the others and with the keyboard focus.
    void showWindow();

private:
    std::unique_ptr<QWidget> m_window;
};

} // namespace kelvane

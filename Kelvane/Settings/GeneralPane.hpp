#pragma once

#include "Kelvane/Desktop/DesktopOpener.hpp"
#include "Kelvane/HotKey/HotKeyService.hpp"
#include "Kelvane/Preferences/LaunchAtLogin.hpp"
#include "Kelvane/Preferences/Preferences.hpp"
#include "Kelvane/Settings/ConfigurationFileChooser.hpp"
#include "Kelvane/Store/ConfigStore.hpp"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLabel;

namespace kelvane {

class HotKeyRecorder;

/// The "Allgemein" pane: the configuration file and its sort order, launch at login, command
/// tooltips and the quick-search hot key, with a note beside it while the system refuses it.
class GeneralPane : public QWidget {
    Q_OBJECT

public:
    /// `onHotKeyChange` is called once for every change of the stored hot key, whoever made it;
    /// `hotKeys` tells whether the registration it leads to worked.
    GeneralPane(Preferences& preferences, ConfigStore& store, std::function<void()> onHotKeyChange,
                const HotKeyService& hotKeys, LaunchAtLogin& launchAtLogin, DesktopOpener opener,
                ChooseConfigurationFile chooseFile, QWidget* parent = nullptr);

protected:
    /// The login item can change outside Kelvane: its state is read again on every showing.
    void showEvent(QShowEvent* event) override;

private:
    void addConfigurationSection(QBoxLayout& pane);
    void addBehaviourSection(QBoxLayout& pane);
    void chooseFile();
    void showLocation();
    void showSortMode();
    void showLaunchAtLogin();
    void followHotKey();
    void showHotKeyRegistration();

    Preferences& m_preferences;
    ConfigStore& m_store;
    std::function<void()> m_onHotKeyChange;
    const HotKeyService& m_hotKeys;
    LaunchAtLogin& m_launchAtLogin;
    DesktopOpener m_opener;
    ChooseConfigurationFile m_chooseFile;
    std::optional<std::string> m_hotKeyText;

    QLabel* m_fileName = nullptr;
    QLabel* m_folder = nullptr;
    QComboBox* m_sortPicker = nullptr;
    QCheckBox* m_launchSwitch = nullptr;
    QLabel* m_approvalNote = nullptr;
    QCheckBox* m_tooltipSwitch = nullptr;
    HotKeyRecorder* m_recorder = nullptr;
    QLabel* m_hotKeyNote = nullptr;
};

} // namespace kelvane

#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"
#include "Kelvane/HotKey/HotKeyService.hpp"
#include "Kelvane/Preferences/LaunchAtLogin.hpp"
#include "Kelvane/Preferences/Preferences.hpp"
#include "Kelvane/Settings/ConfigurationFileChooser.hpp"
#include "Kelvane/Store/ConfigStore.hpp"

#include <QTabWidget>

#include <functional>

namespace kelvane {

/// What the settings panes read, change and ask.
struct SettingsDependencies {
    Preferences& preferences;
    ConfigStore& store;
    /// Called once for every change of the stored quick-search hot key.
    std::function<void()> onHotKeyChange;
    /// Whether the registration of the hot key worked.
    const HotKeyService& hotKeys;
    LaunchAtLogin& launchAtLogin;
    Dialogs& dialogs;
    Workspace& workspace;
    ChooseConfigurationFile chooseFile;
};

/// The content of the settings window: the tabs "Allgemein", "Terminal" and "Erweitert".
class SettingsView : public QTabWidget {
    Q_OBJECT

public:
    /// The window is never smaller than this, however little its panes hold.
    static constexpr QSize leastSize{520, 380};

    explicit SettingsView(SettingsDependencies dependencies, QWidget* parent = nullptr);

    /// Room for the whole content of the fullest pane, at least `leastSize`.
    QSize sizeHint() const override;
};

} // namespace kelvane

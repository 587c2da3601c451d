#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"
#include "Kelvane/Desktop/SystemTrayWatch.hpp"
#include "Kelvane/HotKey/HotKeyService.hpp"
#include "Kelvane/Menu/MenuModel.hpp"
#include "Kelvane/Menu/StatusIcon.hpp"
#include "Kelvane/Preferences/LaunchAtLogin.hpp"
#include "Kelvane/Preferences/Preferences.hpp"
#include "Kelvane/QuickSearch/QuickSearchController.hpp"
#include "Kelvane/Runner/CommandRunner.hpp"
#include "Kelvane/Settings/ConfigurationFileChooser.hpp"
#include "Kelvane/Settings/SettingsWindowController.hpp"
#include "Kelvane/Store/ConfigStore.hpp"

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <memory>
#include <optional>

namespace kelvane {

/// What the status item asks of the desktop besides its store and preferences.
struct DesktopServices {
    Dialogs& dialogs;
    Workspace& workspace;
    LaunchAtLogin& launchAtLogin;
    ChooseConfigurationFile chooseFile;
    /// Whether there is a tray to show the icon in; the icon waits for one.
    SystemTrayProbe systemTray = SystemTrayProbe::desktop();
};

/// The application's whole surface at rest: the status (tray) icon and its menu, rebuilt from
/// scratch whenever the store reports, every action of that menu, the global hot key and the
/// quick search and settings windows it opens.
class StatusItemController : public QObject {
    Q_OBJECT

public:
    /// Puts the icon with the menu of the store's current state on screen (once the desktop has
    /// a tray), follows the store from then on and registers the stored hot key. `backend` runs the
    /// commands (a Terminal backend for the home folder in the application); `hotKeys` registers
    /// the global hot key.
    StatusItemController(ConfigStore& store, Preferences& preferences,
                         std::unique_ptr<TerminalBackend> backend,
                         std::unique_ptr<HotKeyRegistrar> hotKeys, DesktopServices desktop,
                         QObject* parent = nullptr);
    ~StatusItemController() override;

    /// Replaces the menu by one built from the store's configuration and problem; the icon and
    /// its tooltip show the problem while there is one.
    void rebuildMenu();

    QMenu* menu() const { return m_menu.get(); }
    /// Whether the icon shows the store's problem by looking disabled.
    bool appearsDisabled() const { return m_appearsDisabled; }
    /// Whether the icon is in the tray; it waits for the desktop to have one.
    bool isIconShown() const { return m_statusItem.isVisible(); }
    /// The icon and the tooltip the tray shows.
    QSystemTrayIcon& statusItem() { return m_statusItem; }

    /// Opens the menu where the mouse pointer is, as a click on the icon does; reachable with no
    /// tray too.
    void popUpMenu();

    /// Hides the quick-search panel when it is visible, shows it otherwise.
    void toggleQuickSearch();
    /// Brings the one settings window to the front, creating it the first time.
    void openSettings();

    /// None until the quick search or the settings were first asked for.
    QuickSearchController* quickSearch() const { return m_quickSearch.get(); }
    SettingsWindowController* settingsWindow() const { return m_settingsWindow.get(); }

private:
    void configureButton();
    void perform(MenuAction action, const std::optional<ShellCommand>& command);
    /// "Konfiguration bearbeiten…" and every "In Editor öffnen": the file's "editor" setting
    /// runs a terminal editor like a command; otherwise the desktop's program for the file.
    void editConfiguration();
    void showProblem();
    void showWarnings();

    ConfigStore& m_store;
    Preferences& m_preferences;
    HotKeyService m_hotKeys;
    std::unique_ptr<QuickSearchController> m_quickSearch;
    std::unique_ptr<SettingsWindowController> m_settingsWindow;
    DesktopServices m_desktop;
    CommandRunner m_runner;
    QSystemTrayIcon m_statusItem;
    SystemTrayWatch m_systemTray;
    StatusIcon m_icon;
    bool m_appearsDisabled = false;
    std::unique_ptr<QMenu> m_menu;
};

} // namespace kelvane

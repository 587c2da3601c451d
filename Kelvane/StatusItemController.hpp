#pragma once

#include "Kelvane/CommandRunner.hpp"
#include "Kelvane/ConfigStore.hpp"
#include "Kelvane/Dialogs.hpp"
#include "Kelvane/MenuModel.hpp"
#include "Kelvane/Preferences.hpp"

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <memory>
#include <optional>

namespace kelvane {

/// The application's whole surface at rest: the status (tray) icon and its menu, rebuilt from
/// scratch whenever the store reports, and every action of that menu.
class StatusItemController : public QObject {
    Q_OBJECT

public:
    /// Puts the icon with the menu of the store's current state on screen and follows the
    /// store from then on. `backend` runs the commands (a Terminal backend for the home folder
    /// in the application).
    StatusItemController(ConfigStore& store, Preferences& preferences,
                         std::unique_ptr<TerminalBackend> backend, Dialogs& dialogs,
                         Workspace& workspace, QObject* parent = nullptr);
    ~StatusItemController() override;

    /// Replaces the menu by one built from the store's configuration and problem; the icon is
    /// dimmed while there is a problem.
    void rebuildMenu();

    QMenu* menu() const { return m_menu.get(); }
    /// Whether the icon shows the store's problem by looking disabled.
    bool appearsDisabled() const { return m_appearsDisabled; }

private:
    void configureButton();
    void perform(MenuAction action, const std::optional<ShellCommand>& command);
    void editConfiguration();
    void showProblem();
    void showWarnings();

    ConfigStore& m_store;
    Preferences& m_preferences;
    Dialogs& m_dialogs;
    Workspace& m_workspace;
    CommandRunner m_runner;
    QSystemTrayIcon m_statusItem;
    QIcon m_icon;
    QIcon m_dimmedIcon;
    bool m_appearsDisabled = false;
    std::unique_ptr<QMenu> m_menu;
};

} // namespace kelvane

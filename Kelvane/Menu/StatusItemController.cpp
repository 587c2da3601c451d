#include "Kelvane/Menu/StatusItemController.hpp"

#include "Kelvane/Desktop/DesktopOpener.hpp"
#include "Kelvane/Desktop/SymbolIcon.hpp"
#include "Kelvane/Menu/ConfigurationAlerts.hpp"
#include "Kelvane/Menu/MenuBuilder.hpp"
#include "Kelvane/platform/FreedMemory.hpp"

#include "KelvaneCore/Configuration/Overloaded.hpp"
#include "KelvaneCore/Terminal/ShellQuoting.hpp"

#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QPointer>
#include <QTimer>

namespace kelvane {

StatusItemController::StatusItemController(ConfigStore& store, Preferences& preferences,
                                           std::unique_ptr<TerminalBackend> backend,
                                           std::unique_ptr<HotKeyRegistrar> hotKeys,
                                           DesktopServices desktop, QObject* parent)
    : QObject(parent), m_store(store), m_preferences(preferences), m_hotKeys(std::move(hotKeys)),
      m_desktop(std::move(desktop)),
      m_runner(std::move(backend), preferences, m_desktop.dialogs, m_desktop.workspace),
      m_systemTray(m_desktop.systemTray) {
    configureButton();
    m_store.setOnChange([self = QPointer(this)] {
        if (self)
            self->rebuildMenu();
    });
    m_hotKeys.setOnTrigger([self = QPointer(this)] {
        if (self)
            self->toggleQuickSearch();
    });
    m_hotKeys.registerCombination(m_preferences.quickSearchHotKey());
    rebuildMenu();
    m_systemTray.whenAvailable([this] { m_statusItem.show(); });
}

StatusItemController::~StatusItemController() {
    m_statusItem.setContextMenu(nullptr);
}

void StatusItemController::configureButton() {
    // The application's own glyph; the system's terminal symbol when the build carries none.
    m_icon = StatusIcon::fromGlyph(QFile::exists(":/MenuBarIcon") ? QIcon(":/MenuBarIcon")
                                                                  : symbolIcon("terminal"));
    m_statusItem.setIcon(m_icon.normal);
    m_statusItem.setToolTip("Kelvane");
    // A click on a status item opens its menu; trays elsewhere keep menus for the right button.
    connect(&m_statusItem, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    popUpMenu();
            });
}

void StatusItemController::popUpMenu() {
    if (m_menu)
        m_menu->popup(QCursor::pos());
}

void StatusItemController::rebuildMenu() {
    const MenuActions actions{
        [self = QPointer(this)](MenuAction action, const std::optional<ShellCommand>& command) {
            if (self)
                self->perform(action, command);
        },
        m_preferences.showCommandTooltips()};
    // The old menu may be the one whose item is being handled right now (reloading from the
    // menu rebuilds it), so it goes once control is back in the event loop, and what it and the
    // configuration before it used goes back to the system with it.
    if (m_menu) {
        QTimer::singleShot(0, this, [old = std::shared_ptr<QMenu>(m_menu.release())]() mutable {
            old.reset();
            returnFreedMemoryToSystem();
        });
    }
    m_menu = MenuBuilder::buildMenu(m_store.configuration(), m_store.problem(), actions);
    m_statusItem.setContextMenu(m_menu.get());
    m_appearsDisabled = m_store.problem().has_value();
    m_statusItem.setIcon(m_appearsDisabled ? m_icon.problem : m_icon.normal);
    m_statusItem.setToolTip(m_appearsDisabled
                                ? "Kelvane\n" + QString::fromStdString(m_store.problem()->message())
                                : QString("Kelvane"));
}

void StatusItemController::perform(MenuAction action, const std::optional<ShellCommand>& command) {
    switch (action) {
    case MenuAction::runCommand:
        if (command)
            m_runner.run(*command, m_store.configuration());
        break;
    case MenuAction::copyCommand:
        if (command)
            m_desktop.workspace.copyToPasteboard(command->command);
        break;
    case MenuAction::editConfiguration:
        editConfiguration();
        break;
    case MenuAction::reloadConfiguration:
        m_store.reload();
        break;
    case MenuAction::showProblem:
        showProblem();
        break;
    case MenuAction::showWarnings:
        showWarnings();
        break;
    case MenuAction::showAbout:
        m_desktop.dialogs.runModal(ConfigurationAlerts::aboutAlert());
        break;
    case MenuAction::quit:
        QCoreApplication::quit();
        break;
    case MenuAction::showQuickSearch:
        toggleQuickSearch();
        break;
    case MenuAction::openSettings:
        openSettings();
        break;
    }
}

void StatusItemController::toggleQuickSearch() {
    if (!m_quickSearch) {
        m_quickSearch = std::make_unique<QuickSearchController>(
            m_store,
            [self = QPointer(this)](const ShellCommand& command) {
                if (self)
                    self->m_runner.run(command, self->m_store.configuration());
            },
            m_desktop.workspace);
    }
    m_quickSearch->toggle();
}

void StatusItemController::openSettings() {
    if (!m_settingsWindow) {
        m_settingsWindow = std::make_unique<SettingsWindowController>(
            m_preferences, m_store,
            [self = QPointer(this)] {
                if (self)
                    self->m_hotKeys.registerCombination(self->m_preferences.quickSearchHotKey());
            },
            m_hotKeys, m_desktop.launchAtLogin, m_desktop.dialogs, m_desktop.workspace,
            m_desktop.chooseFile);
    }
    m_settingsWindow->showWindow();
}

void StatusItemController::editConfiguration() {
    const auto& configuration = m_store.configuration();
    const std::string path = m_store.url().string();
    if (configuration &&
        configuration->settings.editor.kind == EditorSetting::Kind::terminalEditor) {
        const ShellCommand edit(Uuid::random(), "Konfiguration bearbeiten",
                                configuration->settings.editor.command + " " +
                                    ShellQuoting::singleQuoted(path),
                                std::nullopt, std::nullopt, std::nullopt, false);
        m_runner.run(edit, configuration);
        return;
    }
    DesktopOpener(m_desktop.workspace, m_desktop.dialogs).openFile(path);
}

void StatusItemController::showProblem() {
    const auto problem = m_store.problem();
    if (!problem)
        return;
    if (m_desktop.dialogs.runModal(ConfigurationAlerts::problemAlert(*problem)) != 0u)
        return;
    std::visit(Overloaded{
                   [&](const ConfigurationProblem::Parse&) { editConfiguration(); },
                   [&](const ConfigurationProblem::Missing&) {
                       DesktopOpener(m_desktop.workspace, m_desktop.dialogs)
                           .revealFile(m_store.url().string());
                   },
                   [&](const ConfigurationProblem::Untrusted& untrusted) {
                       m_desktop.workspace.copyToPasteboard(
                           ConfigurationAlerts::fixCommands(untrusted.issues));
                   },
               },
               problem->kind);
}

void StatusItemController::showWarnings() {
    const auto& configuration = m_store.configuration();
    if (!configuration || configuration->warnings.empty())
        return;
    if (m_desktop.dialogs.runModal(ConfigurationAlerts::warningsAlert(configuration->warnings)) ==
        0u)
        editConfiguration();
}

} // namespace kelvane

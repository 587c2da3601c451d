#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"
#include "Kelvane/Menu/StatusItemController.hpp"
#include "Kelvane/Preferences/LaunchAtLogin.hpp"
#include "Kelvane/Preferences/Preferences.hpp"
#include "Kelvane/Store/ConfigStore.hpp"

#include <QObject>

#include <filesystem>
#include <memory>

namespace kelvane {

/// Starts the application: picks the configuration file, creates the store and the status item,
/// loads and watches the file, applies the file's launch-at-login wish once, and on the very
/// first run offers to take over a Shuttle file. Owns the store and the status item for the
/// whole run.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    AppDelegate(Preferences& preferences, Dialogs& dialogs, Workspace& workspace,
                LaunchAtLogin& launchAtLogin, QObject* parent = nullptr);
    ~AppDelegate() override;

    /// The start-up sequence; runs once, on the main thread, once the event loop is running.
    void applicationDidFinishLaunching();

    ConfigStore* store() const { return m_store.get(); }
    StatusItemController* statusItem() const { return m_statusItem.get(); }

private:
    std::filesystem::path resolveConfigurationURL() const;
    void seedLaunchAtLoginIfNeeded();
    void offerShuttleImportIfNeeded();

    Preferences& m_preferences;
    Dialogs& m_dialogs;
    Workspace& m_workspace;
    LaunchAtLogin& m_launchAtLogin;
    std::unique_ptr<ConfigStore> m_store;
    std::unique_ptr<StatusItemController> m_statusItem;
};

} // namespace kelvane

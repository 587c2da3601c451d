#include "Kelvane/Startup/AppDelegate.hpp"

#include "Kelvane/Startup/ShuttleImport.hpp"
#include "Kelvane/platform/Log.hpp"
#include "Kelvane/platform/TerminalPrograms.hpp"

#include <exception>

namespace kelvane {

AppDelegate::AppDelegate(Preferences& preferences, Dialogs& dialogs, Workspace& workspace,
                         LaunchAtLogin& launchAtLogin, QObject* parent)
    : QObject(parent), m_preferences(preferences), m_dialogs(dialogs), m_workspace(workspace),
      m_launchAtLogin(launchAtLogin) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    m_store = std::make_unique<ConfigStore>(resolveConfigurationURL(), m_preferences);
    // The program chosen in the settings, else the one the file names, at the moment a command
    // runs; the store and the preferences outlive the backend.
    auto backend = TerminalPrograms::makeBackend(
        [store = m_store.get(), &preferences = m_preferences] {
            const auto& configuration = store->configuration();
            return preferences.terminalOverride().value_or(
                configuration ? configuration->settings.terminal : TerminalKind::terminalApp);
        },
        [](std::string_view notice) { Log::info("terminal", std::string(notice)); });
    m_statusItem = std::make_unique<StatusItemController>(
        *m_store, m_preferences, std::move(backend), makeHotKeyRegistrar(),
        DesktopServices{m_dialogs, m_workspace, m_launchAtLogin,
                        chooseConfigurationFileWithDialog});
    m_store->start();
    seedLaunchAtLoginIfNeeded();
    offerShuttleImportIfNeeded();
    m_preferences.setDidCompleteFirstRun(true);
}

std::filesystem::path AppDelegate::resolveConfigurationURL() const {
    // A stored file that has gone is skipped for this run only: the stored path stays, and the
    // next start looks for it again.
    if (const auto stored = m_preferences.configPath()) {
        std::error_code error;
        if (std::filesystem::exists(*stored, error))
            return *stored;
    }
    try {
        return ensureDefaultConfiguration();
    } catch (const std::exception& error) {
        Log::error("app", std::string("Standardkonfiguration konnte nicht angelegt werden: ") +
                              error.what());
        return defaultConfigurationURL();
    }
}

void AppDelegate::seedLaunchAtLoginIfNeeded() {
    if (m_preferences.didSeedLaunchAtLogin())
        return;
    // Set before acting, so that a failing registration is not retried on every start.
    m_preferences.setDidSeedLaunchAtLogin(true);
    const auto& configuration = m_store->configuration();
    if (configuration && configuration->settings.launchAtLogin == true &&
        !m_launchAtLogin.isEnabled())
        m_launchAtLogin.setEnabled(true);
}

void AppDelegate::offerShuttleImportIfNeeded() {
    if (m_preferences.didCompleteFirstRun() || m_preferences.configPath())
        return;
    const auto offer = ShuttleImport::offer(shuttleCandidateURLs());
    if (!offer || m_dialogs.runModal(offer->alert) != std::optional<std::size_t>(0))
        return;
    const std::filesystem::path target = defaultConfigurationURL();
    try {
        ShuttleImport::copyInPlace(offer->source, target);
    } catch (const std::exception& error) {
        Log::error("app", std::string("Import fehlgeschlagen: ") + error.what());
        return;
    }
    m_store->changeLocation(target);
}

} // namespace kelvane

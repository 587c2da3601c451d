#pragma once

#include "Kelvane/Preferences/Preferences.hpp"
#include "Kelvane/Store/ConfigFileWatcher.hpp"

#include "KelvaneCore/Configuration/ConfigurationFile.hpp"

#include <QObject>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvane {

/// The single owner of the configuration the running application shows and runs: it reads the
/// file (trust check first), keeps the last good configuration through broken, missing or
/// untrusted saves, and reports after every attempt.
class ConfigStore : public QObject {
    Q_OBJECT

public:
    using Problem = ConfigurationProblem;

    /// Reads nothing yet.
    ConfigStore(std::filesystem::path url, Preferences& preferences, QObject* parent = nullptr);
    ~ConfigStore() override;

    /// The last configuration that loaded; none until the first success, never cleared after.
    const std::optional<Configuration>& configuration() const { return m_configuration; }
    /// The bytes the configuration was loaded from, which a migration must still find in the file.
    const std::string& loadedBytes() const { return m_loadedBytes; }
    /// Why the last reload gave no configuration; none after a success.
    const std::optional<Problem>& problem() const { return m_problem; }
    const std::filesystem::path& url() const { return m_url; }
    const ConfigFileWatcher* watcher() const { return m_watcher.get(); }

    /// Called at the end of every reload, whatever its outcome.
    void setOnChange(std::function<void()> onChange);

    /// Loads once, then watches the file.
    void start();
    /// Existence, trust check, read, load; keeps the last good configuration on any failure.
    void reload();
    /// Switches to another file, remembers its path in the preferences, loads and watches it.
    void changeLocation(const std::filesystem::path& url);

signals:
    /// Emitted only when the new value differs from the old one.
    void configurationChanged();
    void problemChanged();
    void urlChanged();

private:
    template <typename Value>
    void assign(Value& field, Value value, void (ConfigStore::*changed)());

    std::filesystem::path m_url;
    Preferences& m_preferences;
    std::optional<Configuration> m_configuration;
    std::string m_loadedBytes;
    std::optional<Problem> m_problem;
    std::function<void()> m_onChange;
    std::unique_ptr<ConfigFileWatcher> m_watcher;
};

/// `kelvane.json` in the application's support folder (`applicationSupportFolder()`).
std::filesystem::path defaultConfigurationURL();
/// The default file, created (folder 0700, file 0600, an empty version 2 menu) when missing.
/// Throws `FileError`.
std::filesystem::path ensureDefaultConfiguration();
/// The Shuttle files that exist, in this order: ~/.shuttle.json and
/// ~/Library/Application Support/Shuttle/shuttle.json. Only the first-run import reads them.
std::vector<std::filesystem::path> shuttleCandidateURLs();

} // namespace kelvane

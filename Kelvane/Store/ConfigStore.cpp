#include "Kelvane/Store/ConfigStore.hpp"

#include "Kelvane/platform/Log.hpp"
#include "Kelvane/platform/PreferenceStore.hpp"
#include "Kelvane/platform/PrivateFolder.hpp"
#include "Kelvane/platform/TerminalPrograms.hpp"

#include "KelvaneCore/Configuration/Overloaded.hpp"
#include "KelvaneCore/Files/FileAccess.hpp"
#include "KelvaneCore/Files/FileError.hpp"

#include <QDir>
#include <QPointer>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kelvane {
namespace fs = std::filesystem;

namespace {

std::string logMessage(const ConfigurationProblem& problem) {
    return std::visit(Overloaded{
                          [](const ConfigurationProblem::Missing& missing) {
                              return "Konfiguration fehlt: " + missing.path;
                          },
                          [](const ConfigurationProblem::Untrusted& untrusted) {
                              return "Konfiguration nicht vertrauensw\u00FCrdig: " +
                                     std::to_string(untrusted.issues.size()) + " Befund(e)";
                          },
                          [](const ConfigurationProblem::Parse& parse) {
                              return "Konfiguration fehlerhaft: " + parse.text;
                          },
                      },
                      problem.kind);
}

// The file cannot know which program this system runs in place of a name it does not know.
void nameTheTerminalUsed(Configuration& configuration) {
    for (ConfigurationWarning& warning : configuration.warnings)
        if (auto* unsupported =
                std::get_if<ConfigurationWarning::UnsupportedTerminal>(&warning.kind))
            unsupported->usedInstead = TerminalPrograms::usedName(configuration.settings.terminal);
}

std::string loadedMessage(const Configuration& configuration) {
    return "Konfiguration geladen: " + std::to_string(configuration.commandCount()) + " Befehle, " +
           std::to_string(countOfWarnings(configuration.warnings)) + " Hinweis(e)";
}

} // namespace

ConfigStore::ConfigStore(std::filesystem::path url, Preferences& preferences, QObject* parent)
    : QObject(parent), m_url(std::move(url)), m_preferences(preferences) {}

ConfigStore::~ConfigStore() = default;

template <typename Value>
void ConfigStore::assign(Value& field, Value value, void (ConfigStore::*changed)()) {
    if (field == value)
        return;
    field = std::move(value);
    emit(this->*changed)();
}

void ConfigStore::setOnChange(std::function<void()> onChange) {
    m_onChange = std::move(onChange);
}

void ConfigStore::start() {
    reload();
    m_watcher = std::make_unique<ConfigFileWatcher>(m_url, [store = QPointer(this)] {
        if (store)
            store->reload();
    });
}

void ConfigStore::reload() {
    auto result = ConfigurationFile::loadWithBytes(m_url, m_preferences.sortMode(), ::getuid());
    if (auto* loaded = std::get_if<ConfigurationFile::LoadedConfiguration>(&result)) {
        nameTheTerminalUsed(loaded->configuration);
        Log::info("config", loadedMessage(loaded->configuration));
        m_loadedBytes = std::move(loaded->bytes);
        assign(m_configuration, std::optional(std::move(loaded->configuration)),
               &ConfigStore::configurationChanged);
        assign(m_problem, std::optional<Problem>(), &ConfigStore::problemChanged);
    } else {
        auto& problem = std::get<ConfigurationProblem>(result);
        Log::error("config", logMessage(problem));
        assign(m_problem, std::optional(std::move(problem)), &ConfigStore::problemChanged);
    }
    // A copy, so that the callback may replace itself.
    if (const std::function<void()> onChange = m_onChange)
        onChange();
}

void ConfigStore::changeLocation(const std::filesystem::path& url) {
    if (m_watcher)
        m_watcher->stop();
    assign(m_url, url, &ConfigStore::urlChanged);
    m_preferences.setConfigPath(url.string());
    start();
}

namespace {

constexpr std::string_view defaultContent = "{\n  \"version\": 2,\n  \"items\": []\n}\n";

void setMode(const fs::path& path, mode_t mode) {
    if (::chmod(path.c_str(), mode) != 0)
        throw FileError(FileError::Operation::write, path.string(), describeSystemError(errno));
}

} // namespace

std::filesystem::path defaultConfigurationURL() {
    return applicationSupportFolder() / "kelvane.json";
}

std::filesystem::path ensureDefaultConfiguration() {
    const fs::path file = defaultConfigurationURL();
    createPrivateFolder(file.parent_path());
    std::error_code error;
    if (!fs::exists(file, error)) {
        FileAccess::writeAtomically(file, defaultContent);
        setMode(file, 0600);
    }
    return file;
}

std::vector<std::filesystem::path> shuttleCandidateURLs() {
    const fs::path home = QDir::homePath().toStdString();
    std::vector<fs::path> found;
    for (const fs::path& candidate :
         {home / ".shuttle.json", home / "Library/Application Support/Shuttle/shuttle.json"}) {
        std::error_code error;
        if (fs::exists(candidate, error))
            found.push_back(candidate);
    }
    return found;
}

} // namespace kelvane

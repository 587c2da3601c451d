#include "KelvaneCore/Configuration/ConfigurationFile.hpp"

#include "KelvaneCore/Configuration/ConfigurationError.hpp"
#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"
#include "KelvaneCore/Configuration/Overloaded.hpp"
#include "KelvaneCore/Files/FileAccess.hpp"
#include "KelvaneCore/Files/FileError.hpp"

#include <cerrno>

namespace kelvane {

std::string ConfigurationProblem::message() const {
    return std::visit(Overloaded{
                          [](const Parse& problem) { return problem.text; },
                          [](const Untrusted& problem) {
                              if (problem.issues.empty())
                                  return std::string("Konfiguration nicht vertrauensw\u00FCrdig");
                              return problem.issues.front().message();
                          },
                          [](const Missing& problem) {
                              return "Konfigurationsdatei nicht gefunden: " + problem.path;
                          },
                      },
                      kind);
}

namespace ConfigurationFile {

namespace {

ConfigurationProblem problemOf(const ConfigurationError& error) {
    return {ConfigurationProblem::Parse{error.errorDescription()}};
}

ConfigurationProblem unreadable(const std::filesystem::path& path, std::string reason) {
    return problemOf(
        ConfigurationError(ConfigurationError::Unreadable{path.string(), std::move(reason)}));
}

// The bytes come through the descriptor that the trust check opened at the end of its walk, so
// a file swapped in after the check is never what gets read.
std::variant<std::string, ConfigurationProblem> readInspected(const std::filesystem::path& path,
                                                              std::uint32_t currentUser) {
    ConfigTrustCheck::OpenedFile file = ConfigTrustCheck::openInspected(path, currentUser);
    if (file.error == ENOENT || file.error == ENOTDIR)
        return ConfigurationProblem{ConfigurationProblem::Missing{path.string()}};
    if (!file.verdict.isTrusted())
        return ConfigurationProblem{
            ConfigurationProblem::Untrusted{std::move(file.verdict.issues)}};
    if (!file.descriptor.isOpen())
        return unreadable(path, describeSystemError(file.error));
    try {
        return FileAccess::readOpenFile(file.descriptor.get(), path);
    } catch (const FileError& readError) {
        return unreadable(path, readError.reason());
    }
}

} // namespace

std::variant<std::string, ConfigurationProblem> readTrusted(const std::filesystem::path& path,
                                                            std::uint32_t currentUser) {
    try {
        return withoutAllocationFailures([&] { return readInspected(path, currentUser); });
    } catch (const ConfigurationError& error) {
        return problemOf(error);
    }
}

std::variant<Configuration, ConfigurationProblem> loadBytes(std::string_view bytes,
                                                            SortMode sortMode) {
    try {
        return ConfigurationLoader{sortMode, sortMode}.load(bytes);
    } catch (const ConfigurationError& error) {
        return problemOf(error);
    }
}

std::variant<LoadedConfiguration, ConfigurationProblem>
loadWithBytes(const std::filesystem::path& path, SortMode sortMode, std::uint32_t currentUser) {
    auto bytes = readTrusted(path, currentUser);
    if (auto* problem = std::get_if<ConfigurationProblem>(&bytes))
        return std::move(*problem);
    std::string& text = std::get<std::string>(bytes);
    auto loaded = loadBytes(text, sortMode);
    if (auto* problem = std::get_if<ConfigurationProblem>(&loaded))
        return std::move(*problem);
    return LoadedConfiguration{std::move(std::get<Configuration>(loaded)), std::move(text)};
}

std::variant<Configuration, ConfigurationProblem>
load(const std::filesystem::path& path, SortMode sortMode, std::uint32_t currentUser) {
    auto loaded = loadWithBytes(path, sortMode, currentUser);
    if (auto* problem = std::get_if<ConfigurationProblem>(&loaded))
        return std::move(*problem);
    return std::move(std::get<LoadedConfiguration>(loaded).configuration);
}

} // namespace ConfigurationFile
} // namespace kelvane

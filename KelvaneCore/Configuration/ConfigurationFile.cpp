#include "KelvaneCore/Configuration/ConfigurationFile.hpp"

#include "KelvaneCore/Configuration/ConfigurationError.hpp"
#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"
#include "KelvaneCore/Configuration/Overloaded.hpp"

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

std::variant<std::string, ConfigurationProblem> readTrusted(const std::filesystem::path& path,
                                                            std::uint32_t currentUser) {
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return ConfigurationProblem{ConfigurationProblem::Missing{path.string()}};
    ConfigTrustCheck::Verdict verdict = ConfigTrustCheck::inspect(path, currentUser);
    if (!verdict.isTrusted())
        return ConfigurationProblem{ConfigurationProblem::Untrusted{std::move(verdict.issues)}};
    try {
        return ConfigurationLoader::readContents(path);
    } catch (const ConfigurationError& readError) {
        return ConfigurationProblem{ConfigurationProblem::Parse{readError.errorDescription()}};
    }
}

std::variant<LoadedConfiguration, ConfigurationProblem>
loadWithBytes(const std::filesystem::path& path, SortMode sortMode, std::uint32_t currentUser) {
    try {
        auto bytes = withoutAllocationFailures([&] { return readTrusted(path, currentUser); });
        if (auto* problem = std::get_if<ConfigurationProblem>(&bytes))
            return std::move(*problem);
        std::string& text = std::get<std::string>(bytes);
        Configuration configuration = ConfigurationLoader{sortMode, sortMode}.load(text);
        return LoadedConfiguration{std::move(configuration), std::move(text)};
    } catch (const ConfigurationError& loadError) {
        return ConfigurationProblem{ConfigurationProblem::Parse{loadError.errorDescription()}};
    }
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

#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"
#include "KelvaneCore/Safety/ConfigTrustCheck.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelvane {

/// Why a configuration file gave no configuration.
struct ConfigurationProblem {
    /// Reading or loading failed; the error's German description.
    struct Parse {
        std::string text;
        bool operator==(const Parse&) const = default;
    };
    /// The trust check refused the file; it was not read.
    struct Untrusted {
        std::vector<ConfigTrustCheck::Issue> issues;
        bool operator==(const Untrusted&) const = default;
    };
    /// No file exists at the path.
    struct Missing {
        std::string path;
        bool operator==(const Missing&) const = default;
    };
    using Kind = std::variant<Parse, Untrusted, Missing>;

    Kind kind;

    /// The user-visible German text.
    std::string message() const;

    bool operator==(const ConfigurationProblem&) const = default;
};

/// The way every part of Kelvane reads its configuration file: existence, trust check, read,
/// lenient normalization, load. An untrusted file is never read.
namespace ConfigurationFile {

/// The file's bytes, or why it must not or cannot be used (running out of memory included). The
/// bytes are read through the descriptor that the trust check opened, never by looking the path
/// up again.
std::variant<std::string, ConfigurationProblem> readTrusted(const std::filesystem::path& path,
                                                            std::uint32_t currentUser);

/// The configuration in `bytes`, which `readTrusted` gave, with one sort mode for both formats,
/// or why it cannot be loaded.
std::variant<Configuration, ConfigurationProblem> loadBytes(std::string_view bytes,
                                                            SortMode sortMode);

/// A configuration together with the bytes it was loaded from, which a migration must still
/// find in the file.
struct LoadedConfiguration {
    Configuration configuration;
    std::string bytes;
};

/// The loaded configuration and its bytes, with one sort mode for both formats, or the problem.
std::variant<LoadedConfiguration, ConfigurationProblem>
loadWithBytes(const std::filesystem::path& path, SortMode sortMode, std::uint32_t currentUser);

/// The loaded configuration, with one sort mode for both formats, or the problem.
std::variant<Configuration, ConfigurationProblem>
load(const std::filesystem::path& path, SortMode sortMode, std::uint32_t currentUser);

} // namespace ConfigurationFile
} // namespace kelvane

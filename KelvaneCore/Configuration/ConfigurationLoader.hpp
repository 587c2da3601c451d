#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <filesystem>
#include <string>
#include <string_view>

namespace kelvane {

/// Reads a configuration file in the version 2 format or the legacy Shuttle format. Repairable
/// problems become warnings of the result; an unreadable file, invalid JSON or a wrong top-level
/// shape throw `ConfigurationError`.
struct ConfigurationLoader {
    /// Order of entries when a legacy file is read.
    SortMode legacySortMode = SortMode::alphabetical;
    /// Order of entries when a version 2 file is read.
    SortMode v2SortMode = SortMode::alphabetical;

    /// The whole file's bytes; a failure throws `ConfigurationError` (`Unreadable`).
    static std::string readContents(const std::filesystem::path& path);

    /// Reads the whole file, then loads its bytes.
    Configuration loadContentsOf(const std::filesystem::path& path) const;

    /// Relaxes comments and trailing commas, parses strictly, detects the format and reads it.
    Configuration load(std::string_view data) const;
};

} // namespace kelvane

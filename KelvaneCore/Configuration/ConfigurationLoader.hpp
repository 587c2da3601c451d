#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"
#include "KelvaneCore/Configuration/ConfigurationError.hpp"

#include <filesystem>
#include <new>
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
    /// Running out of memory throws `ConfigurationError` (`OutOfMemory`), as every load does.
    Configuration load(std::string_view data) const;

private:
    Configuration loadText(std::string_view data) const;
};

/// What `step` of a load gives, or `ConfigurationError` (`OutOfMemory`) where it ran out of
/// memory: no allocation failure in a load may end the process.
template <typename Step> auto withoutAllocationFailures(const Step& step) -> decltype(step()) {
    try {
        return step();
    } catch (const std::bad_alloc&) {
        // Whatever the step had built is freed by now, so the error itself can be made.
        throw ConfigurationError(ConfigurationError::OutOfMemory{});
    }
}

} // namespace kelvane

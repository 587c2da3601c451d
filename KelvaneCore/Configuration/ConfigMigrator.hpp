#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <filesystem>
#include <string>
#include <string_view>

/// Writes configurations in the version 2 format and migrates files to it.
namespace kelvane::ConfigMigrator {

/// Where the format's schema is published; written as the `$schema` of every file.
inline constexpr std::string_view schemaURL = "https://tolvo.de/kelvane/schema/v2.json";

/// The configuration as a pretty-printed version 2 file ending in a line feed. Ids, the format,
/// the warnings and `launchAtLogin` are not written.
std::string makeV2JSON(const Configuration& configuration);

/// Replaces the file at `path` with `makeV2JSON(configuration)`, after copying its current
/// content to the path with ".backup" appended (an older backup is replaced). A symbolic link
/// stays a link: its target is rewritten and the backup holds the target's content. At every
/// point of failure the old file is untouched or a complete backup exists; the new file and the
/// backup are readable by their owner only. Throws `FileError`.
void migrateInPlace(const std::filesystem::path& path, const Configuration& configuration);

} // namespace kelvane::ConfigMigrator

#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

/// Writes configurations in the version 2 format and migrates files to it.
namespace kelvane::ConfigMigrator {

/// Where the format's schema is published; written as the `$schema` of every file.
inline constexpr std::string_view schemaURL = "https://tolvo.de/kelvane/schema/v2.json";

/// The configuration as a pretty-printed version 2 file ending in a line feed. Ids, the format,
/// the warnings and `launchAtLogin` are not written.
std::string makeV2JSON(const Configuration& configuration);

/// Where the backup of the file at `path` goes: beside it, its name with ".backup" appended, the
/// name's end left out where the whole would not fit in a folder.
std::filesystem::path backupPath(const std::filesystem::path& path);

/// Replaces the file at `path` with `makeV2JSON(configuration)`, after copying its current
/// content to `backupPath(path)` (an older backup is replaced). A symbolic link stays a link:
/// its target is rewritten and the backup holds the target's content. At every point of failure
/// the old file is untouched or a complete backup exists; the new file and the backup are
/// readable by their owner only. Throws `FileError`.
///
/// `loadedBytes` are the bytes `configuration` was loaded from. The file is compared with them
/// at the start and right before the backup and the file are replaced; if it holds anything
/// else, someone has saved it meanwhile, and the migration fails rather than overwrite that
/// save: the file is left as saved. `beforeEachComparison` runs before every comparison (tests
/// save the file there).
void migrateInPlace(const std::filesystem::path& path, const Configuration& configuration,
                    std::string_view loadedBytes,
                    const std::function<void()>& beforeEachComparison = {});

/// As above, with the file's content as it is read first taking the place of the loaded bytes.
void migrateInPlace(const std::filesystem::path& path, const Configuration& configuration);

} // namespace kelvane::ConfigMigrator

#pragma once

#include <filesystem>

namespace kelvane {

/// Creates `folder` and every missing folder above it with mode 0700, whatever the process's
/// umask, so that whichever part of Kelvane comes first, nobody else may read its files or
/// swap them. Folders that exist already, also those another process creates meanwhile, stay
/// as they are. Throws `FileError`.
void createPrivateFolder(const std::filesystem::path& folder);

} // namespace kelvane

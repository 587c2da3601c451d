#pragma once

#include <string>

namespace kelvane {

/// Asks the desktop's file manager to show the file at `path` selected in its folder. False when
/// the desktop offers no such request; opening the folder is then the nearest thing.
bool selectInFileManager(const std::string& path);

} // namespace kelvane

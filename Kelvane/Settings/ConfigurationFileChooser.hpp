#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace kelvane {

/// Asks the user for another configuration file, starting beside `currentFile`; none when the
/// user cancels.
using ChooseConfigurationFile =
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path& currentFile)>;

/// The desktop's open dialog for one JSON file, titled "Konfigurationsdatei auswählen".
std::optional<std::filesystem::path>
chooseConfigurationFileWithDialog(const std::filesystem::path& currentFile);

} // namespace kelvane

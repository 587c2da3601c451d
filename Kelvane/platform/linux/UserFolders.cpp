#include "Kelvane/platform/PreferenceStore.hpp"
#include "Kelvane/platform/linux/JSONPreferenceStore.hpp"

#include <cstdlib>

namespace kelvane {

std::filesystem::path applicationSupportFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && *configHome == '/')
        return std::filesystem::path(configHome) / "Kelvane";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "/") / ".config" / "Kelvane";
}

std::unique_ptr<PreferenceStore> makeUserPreferenceStore() {
    // A folder of their own, as the user defaults have on macOS: a write of the preferences
    // must not look like a change in the folder the configuration file is watched in.
    return std::make_unique<JSONPreferenceStore>(applicationSupportFolder() / "Preferences" /
                                                 "preferences.json");
}

} // namespace kelvane

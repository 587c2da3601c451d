#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kelvane {

/// A stored preference value; booleans stay booleans, bytes stay bytes.
using PreferenceValue = std::variant<bool, int64_t, std::string, std::vector<uint8_t>>;

/// The user's preference store (the user defaults on macOS).
class PreferenceStore {
public:
    virtual ~PreferenceStore() = default;

    virtual std::optional<PreferenceValue> value(const std::string& key) const = 0;
    virtual void setValue(const std::string& key, PreferenceValue value) = 0;
    virtual void removeValue(const std::string& key) = 0;
};

/// The store of the current user.
std::unique_ptr<PreferenceStore> makeUserPreferenceStore();

/// The folder that holds Kelvane's own files: ~/Library/Application Support/Kelvane on macOS,
/// $XDG_CONFIG_HOME/Kelvane (by default ~/.config/Kelvane) elsewhere.
std::filesystem::path applicationSupportFolder();

} // namespace kelvane

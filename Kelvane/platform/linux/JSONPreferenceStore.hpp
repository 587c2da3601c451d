#pragma once

#include "Kelvane/platform/PreferenceStore.hpp"

#include <filesystem>
#include <map>

namespace kelvane {

/// Preferences kept as one JSON object in a file, replaced atomically on every change. A file
/// that is missing or unreadable reads as empty; nothing in it is ever fatal.
class JSONPreferenceStore : public PreferenceStore {
public:
    explicit JSONPreferenceStore(std::filesystem::path file);

    std::optional<PreferenceValue> value(const std::string& key) const override;
    void setValue(const std::string& key, PreferenceValue value) override;
    void removeValue(const std::string& key) override;

private:
    void save() const;

    std::filesystem::path m_file;
    std::map<std::string, PreferenceValue> m_values;
};

} // namespace kelvane

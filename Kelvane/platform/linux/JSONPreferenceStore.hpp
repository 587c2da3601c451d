#pragma once

#include "Kelvane/platform/PreferenceStore.hpp"

#include <filesystem>
#include <optional>

namespace kelvane {

/// Preferences kept as one JSON object in a file, shared with every other process that uses the
/// same file, as the user defaults are: each read reads the file, so a value written elsewhere
/// is seen at once; each write, under a lock, reads the file, changes its own key and replaces
/// the file atomically, so nothing another writer stored is lost. A file that does not parse is
/// moved aside (to `<name>.broken`) and logged, never overwritten; nothing in it is ever fatal.
class JSONPreferenceStore : public PreferenceStore {
public:
    /// Creates the file's folder (private) now, so that no later write has to.
    explicit JSONPreferenceStore(std::filesystem::path file);

    std::optional<PreferenceValue> value(const std::string& key) const override;
    void setValue(const std::string& key, PreferenceValue value) override;
    void removeValue(const std::string& key) override;

private:
    void update(const std::string& key, const std::optional<PreferenceValue>& value);

    std::filesystem::path m_file;
};

} // namespace kelvane

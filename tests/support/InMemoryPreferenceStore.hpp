#pragma once

#include "Kelvane/platform/PreferenceStore.hpp"

#include <map>

namespace kelvane::test {

/// A preference store that forgets everything at the end of the test.
class InMemoryPreferenceStore : public PreferenceStore {
public:
    std::optional<PreferenceValue> value(const std::string& key) const override {
        const auto found = values.find(key);
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    void setValue(const std::string& key, PreferenceValue value) override {
        values[key] = std::move(value);
    }
    void removeValue(const std::string& key) override { values.erase(key); }

    std::map<std::string, PreferenceValue> values;
};

} // namespace kelvane::test

#pragma once

#include "Kelvane/Store/ConfigStore.hpp"

#include "support/InMemoryPreferenceStore.hpp"
#include "support/TemporaryFolder.hpp"

#include <string>
#include <vector>

namespace kelvane::test {

/// A configuration store over a file of top-level commands in a temporary folder; the command
/// line of each is "echo " and its title. Not loaded until a test calls `reload()`.
class StoreWithCommands {
public:
    explicit StoreWithCommands(const std::vector<std::string>& titles) { write(titles); }

    /// Replaces the file's commands; the store sees them at its next reload.
    void write(const std::vector<std::string>& titles, const std::string& commandPrefix = "echo ") {
        std::string items;
        for (const std::string& title : titles)
            items += std::string(items.empty() ? "" : ", ") + "{\"title\": \"" + title +
                     "\", \"command\": \"" + commandPrefix + title + "\"}";
        folder.write("kelvane.json", "{\"version\": 2, \"items\": [" + items + "]}\n");
    }

    /// `count` titles `stem` 1, `stem` 2, …
    static std::vector<std::string> numbered(const std::string& stem, int count) {
        std::vector<std::string> titles;
        for (int number = 1; number <= count; ++number)
            titles.push_back(stem + " " + std::to_string(number));
        return titles;
    }

    TemporaryFolder folder;
    InMemoryPreferenceStore preferenceStore;
    Preferences preferences{preferenceStore};
    ConfigStore store{folder / "kelvane.json", preferences};
};

} // namespace kelvane::test

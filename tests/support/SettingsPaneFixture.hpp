#pragma once

#include "Kelvane/Preferences/Preferences.hpp"
#include "Kelvane/Store/ConfigStore.hpp"

#include "support/InMemoryPreferenceStore.hpp"
#include "support/TemporaryFolder.hpp"

#include <QComboBox>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kelvane::test {

/// A configuration file of `count` commands, in the version 2 format or in Shuttle's.
inline std::string configurationText(bool shuttle, int count,
                                     const std::string& openIn = "window") {
    std::string items;
    for (int index = 1; index <= count; ++index) {
        const std::string name = "Befehl " + std::to_string(index);
        items += std::string(index > 1 ? ", " : "") +
                 (shuttle ? "{\"name\": \"" + name + "\", \"cmd\": \"echo " + std::to_string(index)
                          : "{\"title\": \"" + name + "\", \"command\": \"echo " +
                                std::to_string(index)) +
                 "\"}";
    }
    if (shuttle)
        return "{\"open_in\": \"" + openIn + "\", \"cmds\": [" + items + "]}\n";
    return "{\"version\": 2, \"settings\": {\"openIn\": \"" + openIn + "\"}, \"items\": [" + items +
           "]}\n";
}

/// A store over a file in a temporary folder, not yet loaded, that counts its reloads.
class SettingsPaneTest : public ::testing::Test {
protected:
    explicit SettingsPaneTest(std::string_view fileName = "kelvane.json")
        : file(folder / fileName) {
        store.setOnChange([this] { ++reloads; });
    }

    /// Writes the file and loads it, without counting that reload.
    void load(const std::string& content) {
        folder.write(file.filename().string(), content);
        store.reload();
        reloads = 0;
    }

    /// What the user's choice of an entry of a picker does.
    static void choose(QComboBox& picker, const QString& text) {
        const int index = picker.findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        picker.setCurrentIndex(index);
        emit picker.activated(index);
    }

    TemporaryFolder folder;
    std::filesystem::path file;
    InMemoryPreferenceStore preferenceStore;
    Preferences preferences{preferenceStore};
    ConfigStore store{file, preferences};
    int reloads = 0;
};

} // namespace kelvane::test

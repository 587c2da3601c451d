#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvane {
namespace {

const std::filesystem::path examples = KELVANE_EXAMPLES_DIR;

std::vector<std::string> warningTexts(const Configuration& configuration) {
    std::vector<std::string> texts;
    for (const ConfigurationWarning& warning : configuration.warnings)
        texts.push_back(warning.message());
    return texts;
}

const CommandEntry* find(const std::vector<CommandEntry>& entries, std::string_view title) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const CommandEntry& entry) {
        return entry.command.title == title;
    });
    return found == entries.end() ? nullptr : &*found;
}

// In both sort modes, since an example has to read cleanly whatever the user's preference is.
std::vector<Configuration> loadInEverySortMode(const char* name) {
    std::vector<Configuration> configurations;
    for (const SortMode mode : allSortModes)
        configurations.push_back(ConfigurationLoader{mode, mode}.loadContentsOf(examples / name));
    return configurations;
}

TEST(ExampleConfigurations, version2ExampleUsesEveryFeatureWithoutWarnings) {
    for (const Configuration& configuration : loadInEverySortMode("kelvane.json")) {
        EXPECT_EQ(configuration.format, ConfigurationFormat::v2);
        EXPECT_EQ(warningTexts(configuration), std::vector<std::string>{});
        EXPECT_EQ(configuration.settings.openIn, OpenBehavior::tab);
        EXPECT_EQ(configuration.settings.editor, EditorSetting::system());

        const std::vector<CommandEntry> commands = configuration.allCommands();
        ASSERT_EQ(commands.size(), 13u);
        const auto shortcuts =
            std::count_if(commands.begin(), commands.end(),
                          [](const auto& entry) { return entry.command.shortcut.has_value(); });
        EXPECT_EQ(shortcuts, 4);

        const CommandEntry* build = find(commands, "Bauen");
        ASSERT_NE(build, nullptr);
        EXPECT_EQ(build->path, (std::vector<std::string>{"Projekte", "Kelvane"}));
        EXPECT_EQ(build->command.workingDirectory, "~/Projekte/kelvane");
        EXPECT_EQ(
            build->command.shortcut,
            (KeyboardShortcut{
                "b", {KeyboardShortcut::Modifiers::control, KeyboardShortcut::Modifiers::option}}));

        const CommandEntry* publish = find(commands, "Ver\u00F6ffentlichen");
        ASSERT_NE(publish, nullptr);
        EXPECT_EQ(publish->command.requiresConfirmation, true);
        const CommandEntry* reload = find(commands, "Nginx neu laden");
        ASSERT_NE(reload, nullptr);
        EXPECT_EQ(reload->command.requiresConfirmation, false);
        const CommandEntry* ssh = find(commands, "Webserver (SSH)");
        ASSERT_NE(ssh, nullptr);
        EXPECT_EQ(ssh->command.icon, "terminal");

        const auto separators =
            std::count_if(configuration.items.begin(), configuration.items.end(),
                          [](const MenuNode& node) { return node.isSeparator(); });
        EXPECT_EQ(separators, 2);
    }
}

TEST(ExampleConfigurations, shuttleExampleReadsNestedGroupsWithoutWarnings) {
    for (const Configuration& configuration : loadInEverySortMode("shuttle.json")) {
        EXPECT_EQ(configuration.format, ConfigurationFormat::legacyShuttle);
        EXPECT_EQ(warningTexts(configuration), std::vector<std::string>{});
        EXPECT_EQ(configuration.settings.openIn, OpenBehavior::tab);
        EXPECT_EQ(configuration.settings.launchAtLogin, false);

        const std::vector<CommandEntry> commands = configuration.allCommands();
        EXPECT_EQ(commands.size(), 9u);
        const CommandEntry* reach = find(commands, "Erreichbarkeit pr\u00FCfen");
        ASSERT_NE(reach, nullptr);
        EXPECT_EQ(reach->path, (std::vector<std::string>{"Werkzeuge", "Netzwerk"}));
        EXPECT_EQ(reach->command.command, "ping -c 5 example.com");
    }
}

} // namespace
} // namespace kelvane

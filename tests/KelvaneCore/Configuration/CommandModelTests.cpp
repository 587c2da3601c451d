#include "KelvaneCore/Configuration/CommandModel.hpp"

#include "support/MenuNodes.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::command;
using test::group;
using test::separator;

std::vector<std::pair<std::vector<std::string>, std::string>>
pathsAndTitles(const std::vector<CommandEntry>& entries) {
    std::vector<std::pair<std::vector<std::string>, std::string>> result;
    for (const CommandEntry& entry : entries)
        result.emplace_back(entry.path, entry.command.title);
    return result;
}

TEST(CommandModel, flattensDepthFirstInMenuOrder) {
    Configuration configuration;
    configuration.items = {
        command("a"),
        group("Server", {command("b"), separator(), group("Logs", {command("c")}), group("", {})}),
        separator(),
        group("", {command("d"), group("y", {separator()})}),
        command("e"),
    };
    using Expected = std::vector<std::pair<std::vector<std::string>, std::string>>;
    EXPECT_EQ(
        pathsAndTitles(configuration.allCommands()),
        (Expected{
            {{}, "a"}, {{"Server"}, "b"}, {{"Server", "Logs"}, "c"}, {{""}, "d"}, {{}, "e"}}));
    EXPECT_EQ(pathsAndTitles(configuration.items[1].flattenedCommands({"Top"})),
              (Expected{{{"Top", "Server"}, "b"}, {{"Top", "Server", "Logs"}, "c"}}));
    EXPECT_EQ(Configuration(configuration).items, configuration.items);
    EXPECT_NE(configuration.items[1], configuration.items[3]);
}

TEST(CommandModel, uuidIsRandomVersionFour) {
    const std::string text = Uuid::random().toString();
    ASSERT_EQ(text.size(), 36U);
    EXPECT_EQ(text[14], '4');
    EXPECT_NE(std::string("89ab").find(text[19]), std::string::npos);
    EXPECT_NE(Uuid::random(), Uuid::random());
}

// The loader's tests cover the usual spellings; these are the edges of the lenient readers.
TEST(ConfigurationSettings, lenientReadersForgiveAnyText) {
    using K = TerminalKind;
    const LenientTerminalKind unknown{K::terminalApp, " terminal"};
    const std::pair<std::optional<std::string_view>, LenientTerminalKind> terminals[] = {
        {std::nullopt, {}},
        {"terMinal.App", {}},
        {" terminal", unknown},
        {"iTerm", {K::iTerm2, {}}},
        {"X-Terminal-Emulator", {K::desktopDefault, {}}},
        {"GNOME-Terminal", {K::gnomeTerminal, {}}},
        {"Hyper", {K::terminalApp, "Hyper"}}};
    for (const auto& [raw, read] : terminals)
        EXPECT_EQ(lenientTerminalKind(raw), read) << raw.value_or("(none)");
    // Every program's own raw text reads back as that program.
    for (const K kind : allTerminalKinds)
        EXPECT_EQ(lenientTerminalKind(rawValue(kind)).kind, kind) << rawValue(kind);
    EXPECT_EQ(lenientOpenBehavior("new"), OpenBehavior::window);
    EXPECT_EQ(lenientEditorSetting(""), EditorSetting::system());
    EXPECT_EQ(lenientEditorSetting(" Vim "), EditorSetting::terminalEditor(" Vim "));
}

TEST(ConfigurationSettings, rawTextsAreExactAndCaseSensitive) {
    EXPECT_EQ(sortModeFromRawValue("Alphabetical"), std::nullopt);
    EXPECT_EQ(sortModeFromRawValue("alphabetical"), SortMode::alphabetical);
    EXPECT_EQ(openBehaviorFromRawValue("Tab"), std::nullopt);
    for (OpenBehavior behavior : allOpenBehaviors)
        EXPECT_EQ(openBehaviorFromRawValue(rawValue(behavior)), behavior);
}

} // namespace
} // namespace kelvane

#include "Kelvane/Menu/MenuBuilder.hpp"

#include "support/MenuNodes.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using Modifiers = KeyboardShortcut::Modifiers;
using test::group;

ShellCommand command(std::string title, std::string text,
                     std::optional<KeyboardShortcut> shortcut = std::nullopt,
                     std::optional<std::string> icon = std::nullopt) {
    return ShellCommand(Uuid::random(), std::move(title), std::move(text), std::move(icon),
                        std::move(shortcut), std::nullopt, std::nullopt);
}

Configuration configuration(std::vector<MenuNode> items, std::size_t warningCount = 0) {
    Configuration result;
    result.items = std::move(items);
    for (std::size_t index = 0; index < warningCount; ++index)
        result.warnings.push_back({ConfigurationWarning::UnknownKey{"k" + std::to_string(index)}});
    return result;
}

/// Titles in order, "---" for a separator, "(x)" around disabled items.
std::vector<std::string> titles(const MenuModel& menu) {
    std::vector<std::string> result;
    for (const MenuItem& item : menu) {
        if (item.kind == MenuItem::Kind::separator)
            result.push_back("---");
        else
            result.push_back(item.enabled ? item.title : "(" + item.title + ")");
    }
    return result;
}

MenuItem fixedItem(std::string title, MenuAction action, std::string key = "") {
    MenuItem item;
    item.title = std::move(title);
    item.action = action;
    if (!key.empty())
        item.keyEquivalent = MenuKeyEquivalent{key, Modifiers::command};
    return item;
}

MenuItem separatorItem() {
    MenuItem item;
    item.kind = MenuItem::Kind::separator;
    return item;
}

const MenuModel fixedItems{
    separatorItem(),
    fixedItem("Konfiguration bearbeiten\u2026", MenuAction::editConfiguration, ","),
    fixedItem("Neu laden", MenuAction::reloadConfiguration, "r"),
    fixedItem("Schnellsuche\u2026", MenuAction::showQuickSearch, "f"),
    separatorItem(),
    fixedItem("Einstellungen\u2026", MenuAction::openSettings),
    fixedItem("\u00DCber Kelvane", MenuAction::showAbout),
    separatorItem(),
    fixedItem("Kelvane beenden", MenuAction::quit, "q"),
};

std::vector<std::string> followedByFixedItems(std::vector<std::string> head) {
    const std::vector<std::string> fixed = titles(fixedItems);
    head.insert(head.end(), fixed.begin(), fixed.end());
    return head;
}

const ConfigurationProblem parseProblem{ConfigurationProblem::Parse{"Zeile 3: Komma fehlt"}};

TEST(MenuBuilder, showsEachStoreStateAboveTheFixedItems) {
    struct Case {
        const char* name;
        std::optional<Configuration> configuration;
        std::optional<ConfigurationProblem> problem;
        std::vector<std::string> titles;
    };
    const std::string problemTitle = "Konfigurationsproblem anzeigen\u2026";
    const std::vector<Case> cases{
        {"loading", std::nullopt, std::nullopt, {"(Konfiguration wird geladen\u2026)"}},
        {"problem before any load", std::nullopt, parseProblem, {problemTitle, "---"}},
        {"problem over the last good load",
         configuration({test::command("A")}),
         parseProblem,
         {problemTitle, "---", "A", "\u201EA\u201C kopieren"}},
        {"one warning",
         configuration({}, 1),
         std::nullopt,
         {"(Keine Eintr\u00E4ge in der Konfiguration)", "---",
          "1 Hinweis zur Konfiguration\u2026"}},
        {"separators and groups",
         configuration({group("Leer-Gruppe", {}), test::separator(), test::command("B")}),
         std::nullopt,
         {"Leer-Gruppe", "---", "B", "\u201EB\u201C kopieren"}},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        const MenuModel menu =
            MenuBuilder::menuModel(testCase.configuration, testCase.problem, true);
        EXPECT_EQ(titles(menu), followedByFixedItems(testCase.titles));
    }
}

TEST(MenuBuilder, fixedItemsCarryTheirActionsAndCommandKeys) {
    const MenuModel menu = MenuBuilder::menuModel(configuration({}), std::nullopt, true);
    EXPECT_EQ(MenuModel(menu.end() - static_cast<std::ptrdiff_t>(fixedItems.size()), menu.end()),
              fixedItems);
}

TEST(MenuBuilder, problemWarningsAndGroupItemsExplainThemselves) {
    const ConfigurationProblem missing{ConfigurationProblem::Missing{"/tmp/k.json"}};
    const MenuModel menu = MenuBuilder::menuModel(
        configuration({group("Server", {group("Innen", {}), test::command("Ping")}, "server.rack")},
                      3),
        missing, true);
    const MenuItem& problem = menu.front();
    EXPECT_EQ(problem.action, MenuAction::showProblem);
    EXPECT_EQ(problem.toolTip, "Konfigurationsdatei nicht gefunden: /tmp/k.json");
    EXPECT_EQ(problem.icon, (MenuIcon{"exclamationmark.triangle.fill", "Warnung"}));
    const auto warnings = std::find_if(menu.begin(), menu.end(), [](const MenuItem& item) {
        return item.action == MenuAction::showWarnings;
    });
    ASSERT_NE(warnings, menu.end());
    EXPECT_EQ(warnings->title, "3 Hinweise zur Konfiguration\u2026");
    EXPECT_EQ(warnings->icon, (MenuIcon{"info.circle", std::nullopt}));

    const MenuItem& server = menu[2];
    EXPECT_EQ(server.title, "Server");
    EXPECT_EQ(server.icon, (MenuIcon{"server.rack", std::nullopt}));
    EXPECT_FALSE(server.action);
    ASSERT_TRUE(server.submenu);
    EXPECT_EQ(titles(*server.submenu),
              (std::vector<std::string>{"Innen", "Ping", "\u201EPing\u201C kopieren"}));
    const MenuItem& inner = server.submenu->front();
    ASSERT_TRUE(inner.submenu);
    EXPECT_EQ(titles(*inner.submenu), (std::vector<std::string>{"(Leer)"}));
}

TEST(MenuBuilder, commandItemAndItsCopyingAlternate) {
    const auto shortcut = KeyboardShortcut{"k", Modifiers{Modifiers::command, Modifiers::shift}};
    const ShellCommand withShortcut = command("Build", "make -j4", shortcut, "hammer");
    const ShellCommand plain = command("Plain", "ls");
    struct Case {
        bool showCommandTooltips;
        const ShellCommand& command;
        std::optional<MenuKeyEquivalent> primaryKey;
        MenuKeyEquivalent alternateKey;
    };
    const std::vector<Case> cases{
        {true, withShortcut, MenuKeyEquivalent{"k", shortcut.modifiers},
         MenuKeyEquivalent{"k",
                           Modifiers{Modifiers::command, Modifiers::shift, Modifiers::option}}},
        {false, plain, std::nullopt, MenuKeyEquivalent{"", Modifiers::option}},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.command.title);
        const MenuModel menu = MenuBuilder::menuModel(configuration({MenuNode{testCase.command}}),
                                                      std::nullopt, testCase.showCommandTooltips);
        const MenuItem& primary = menu[0];
        const MenuItem& alternate = menu[1];
        EXPECT_EQ(primary.action, MenuAction::runCommand);
        EXPECT_EQ(primary.command, testCase.command);
        EXPECT_FALSE(primary.isAlternate);
        EXPECT_EQ(primary.keyEquivalent, testCase.primaryKey);
        EXPECT_EQ(primary.accessibilityLabel,
                  testCase.command.title + ". Befehl: " + testCase.command.command);
        EXPECT_EQ(primary.toolTip, testCase.showCommandTooltips
                                       ? std::optional(testCase.command.command)
                                       : std::nullopt);
        EXPECT_EQ(alternate.action, MenuAction::copyCommand);
        EXPECT_EQ(alternate.command, testCase.command);
        EXPECT_TRUE(alternate.isAlternate);
        EXPECT_EQ(alternate.keyEquivalent, testCase.alternateKey);
        EXPECT_EQ(alternate.toolTip, testCase.command.command) << "whatever the preference says";
        EXPECT_FALSE(alternate.icon);
        EXPECT_EQ(primary.icon, testCase.command.icon
                                    ? std::optional(MenuIcon{*testCase.command.icon, std::nullopt})
                                    : std::nullopt);
    }
}

} // namespace
} // namespace kelvane

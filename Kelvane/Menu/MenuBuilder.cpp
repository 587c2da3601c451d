#include "Kelvane/Menu/MenuBuilder.hpp"

#include "Kelvane/Menu/QtMenu.hpp"

#include "KelvaneCore/Configuration/Overloaded.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

#include <string>

namespace kelvane::MenuBuilder {
namespace {

using Modifiers = KeyboardShortcut::Modifiers;

MenuItem separator() {
    MenuItem item;
    item.kind = MenuItem::Kind::separator;
    return item;
}

MenuItem disabled(std::string title) {
    MenuItem item;
    item.title = std::move(title);
    item.enabled = false;
    return item;
}

MenuItem actionItem(std::string title, MenuAction action,
                    std::optional<MenuKeyEquivalent> keyEquivalent = std::nullopt) {
    MenuItem item;
    item.title = std::move(title);
    item.action = action;
    item.keyEquivalent = std::move(keyEquivalent);
    return item;
}

MenuKeyEquivalent commandKey(std::string key) {
    return {std::move(key), Modifiers::command};
}

std::optional<MenuIcon> symbol(const std::optional<std::string>& name) {
    if (!name)
        return std::nullopt;
    return MenuIcon{*name, std::nullopt};
}

MenuItem commandItem(const ShellCommand& command, bool showCommandTooltips) {
    MenuItem item = actionItem(command.title, MenuAction::runCommand);
    item.command = command;
    item.icon = symbol(command.icon);
    if (showCommandTooltips)
        item.toolTip = command.command;
    item.accessibilityLabel = command.title + ". Befehl: " + command.command;
    if (command.shortcut)
        item.keyEquivalent = MenuKeyEquivalent{command.shortcut->key, command.shortcut->modifiers};
    return item;
}

MenuItem alternateItem(const ShellCommand& command) {
    MenuItem item = actionItem(germanQuoted(command.title) + " kopieren", MenuAction::copyCommand,
                               MenuKeyEquivalent{std::string(), Modifiers::option});
    item.command = command;
    if (command.shortcut) {
        item.keyEquivalent->key = command.shortcut->key;
        item.keyEquivalent->modifiers.insert(command.shortcut->modifiers);
    }
    item.isAlternate = true;
    item.toolTip = command.command;
    return item;
}

void appendNode(MenuModel& menu, const MenuNode& node, bool showCommandTooltips) {
    std::visit(Overloaded{
                   [&](const ShellCommand& command) {
                       menu.push_back(commandItem(command, showCommandTooltips));
                       menu.push_back(alternateItem(command));
                   },
                   [&](const CommandGroup& group) {
                       MenuItem item;
                       item.title = group.title;
                       item.icon = symbol(group.icon);
                       item.submenu.emplace();
                       for (const MenuNode& child : group.items)
                           appendNode(*item.submenu, child, showCommandTooltips);
                       if (group.items.empty())
                           item.submenu->push_back(disabled("Leer"));
                       menu.push_back(std::move(item));
                   },
                   [&](const Separator&) { menu.push_back(separator()); },
               },
               node.value);
}

std::string warningsTitle(std::size_t count) {
    if (count == 1)
        return "1 Hinweis zur Konfiguration\u2026";
    return std::to_string(count) + " Hinweise zur Konfiguration\u2026";
}

} // namespace

MenuModel menuModel(const std::optional<Configuration>& configuration,
                    const std::optional<ConfigurationProblem>& problem, bool showCommandTooltips) {
    MenuModel menu;
    if (problem) {
        MenuItem item = actionItem("Konfigurationsproblem anzeigen\u2026", MenuAction::showProblem);
        item.icon = MenuIcon{"exclamationmark.triangle.fill", "Warnung"};
        item.toolTip = problem->message();
        menu.push_back(std::move(item));
        menu.push_back(separator());
    } else if (!configuration) {
        menu.push_back(disabled("Konfiguration wird geladen\u2026"));
    }
    if (configuration) {
        for (const MenuNode& node : configuration->items)
            appendNode(menu, node, showCommandTooltips);
        if (configuration->items.empty())
            menu.push_back(disabled("Keine Eintr\u00E4ge in der Konfiguration"));
        if (!configuration->warnings.empty()) {
            menu.push_back(separator());
            MenuItem item = actionItem(warningsTitle(countOfWarnings(configuration->warnings)),
                                       MenuAction::showWarnings);
            item.icon = MenuIcon{"info.circle", std::nullopt};
            menu.push_back(std::move(item));
        }
    }
    menu.push_back(separator());
    menu.push_back(actionItem("Konfiguration bearbeiten\u2026", MenuAction::editConfiguration,
                              commandKey(",")));
    menu.push_back(actionItem("Neu laden", MenuAction::reloadConfiguration, commandKey("r")));
    menu.push_back(actionItem("Schnellsuche\u2026", MenuAction::showQuickSearch, commandKey("f")));
    menu.push_back(separator());
    menu.push_back(actionItem("Einstellungen\u2026", MenuAction::openSettings));
    menu.push_back(actionItem("\u00DCber Kelvane", MenuAction::showAbout));
    menu.push_back(separator());
    menu.push_back(actionItem("Kelvane beenden", MenuAction::quit, commandKey("q")));
    return menu;
}

std::unique_ptr<QMenu> buildMenu(const std::optional<Configuration>& configuration,
                                 const std::optional<ConfigurationProblem>& problem,
                                 const MenuActions& actions) {
    return makeQMenu(menuModel(configuration, problem, actions.showCommandTooltips),
                     actions.perform);
}

} // namespace kelvane::MenuBuilder

#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"
#include "KelvaneCore/Configuration/KeyboardShortcut.hpp"

#include <optional>
#include <string>
#include <vector>

namespace kelvane {

/// What choosing a menu item asks the status item controller to do.
enum class MenuAction {
    runCommand,
    copyCommand,
    editConfiguration,
    reloadConfiguration,
    showQuickSearch,
    showProblem,
    showWarnings,
    openSettings,
    showAbout,
    quit,
};

/// A key that chooses a menu item while its menu is open, with the modifiers held with it.
struct MenuKeyEquivalent {
    /// One character, lower case; empty when the item has no key of its own (an alternate then
    /// still names the Option key that reveals it).
    std::string key;
    KeyboardShortcut::Modifiers modifiers;

    bool operator==(const MenuKeyEquivalent&) const = default;
};

/// A named system symbol shown in front of an item's title.
struct MenuIcon {
    std::string symbolName;
    /// What a screen reader says for the symbol, when it says something of its own.
    std::optional<std::string> accessibilityDescription;

    bool operator==(const MenuIcon&) const = default;
};

/// One line of a menu, free of any toolkit, so that a menu can be checked as data.
struct MenuItem {
    enum class Kind { item, separator };

    Kind kind = Kind::item;
    std::string title;
    bool enabled = true;
    std::optional<std::string> toolTip;
    /// What a screen reader should say for the item. Qt's menus have no place for it (their
    /// accessible name is the title), so only the model keeps it.
    std::optional<std::string> accessibilityLabel;
    std::optional<MenuIcon> icon;
    std::optional<MenuKeyEquivalent> keyEquivalent;
    /// Shown in place of the item before it while Option (Alt) is held.
    bool isAlternate = false;
    std::optional<MenuAction> action;
    /// The command that `runCommand` and `copyCommand` act on.
    std::optional<ShellCommand> command;
    /// The items of the submenu that opens from this item; its title is the item's.
    std::optional<std::vector<MenuItem>> submenu;

    bool operator==(const MenuItem&) const = default;
};

using MenuModel = std::vector<MenuItem>;

} // namespace kelvane

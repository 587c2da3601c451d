#pragma once

#include "KelvaneCore/Configuration/ConfigurationSettings.hpp"
#include "KelvaneCore/Configuration/ConfigurationWarning.hpp"
#include "KelvaneCore/Configuration/KeyboardShortcut.hpp"
#include "KelvaneCore/Configuration/Uuid.hpp"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelvane {

/// One runnable menu entry.
struct ShellCommand {
    ShellCommand(Uuid id, std::string title, std::string command, std::optional<std::string> icon,
                 std::optional<KeyboardShortcut> shortcut,
                 std::optional<std::string> workingDirectory,
                 std::optional<bool> requiresConfirmation)
        : title(std::move(title)), command(std::move(command)), icon(std::move(icon)),
          shortcut(std::move(shortcut)), workingDirectory(std::move(workingDirectory)),
          requiresConfirmation(requiresConfirmation), m_id(id) {}

    /// Identity of the entry; new on every load.
    const Uuid& id() const { return m_id; }

    std::string title;
    /// The shell command line exactly as written in the file.
    std::string command;
    std::optional<std::string> icon;
    std::optional<KeyboardShortcut> shortcut;
    std::optional<std::string> workingDirectory;
    /// The entry's own confirmation flag; none leaves the decision to the risk scanner.
    std::optional<bool> requiresConfirmation;

    bool operator==(const ShellCommand&) const = default;

private:
    Uuid m_id;
};

struct MenuNode;
struct SearchResult;

/// A titled submenu.
struct CommandGroup {
    CommandGroup(Uuid id, std::string title, std::optional<std::string> icon,
                 std::vector<MenuNode> items);

    const Uuid& id() const { return m_id; }

    std::string title;
    std::optional<std::string> icon;
    std::vector<MenuNode> items;

    bool operator==(const CommandGroup& other) const;

private:
    Uuid m_id;
};

/// A separator line between menu entries.
struct Separator {
    Uuid id;
    bool operator==(const Separator&) const = default;
};

/// A command together with the titles of the groups above it.
struct CommandEntry {
    std::vector<std::string> path;
    ShellCommand command;
    bool operator==(const CommandEntry&) const = default;
};

/// Receives each command of a tree together with the titles of the groups above it. The path
/// is valid only during the call; the command as long as the tree.
using CommandVisitor =
    std::function<void(const std::vector<std::string>& path, const ShellCommand& command)>;

/// One node of the menu tree.
struct MenuNode {
    std::variant<ShellCommand, CommandGroup, Separator> value;

    const Uuid& id() const;
    /// The command's or the group's title; none for a separator.
    std::optional<std::string> title() const;

    const ShellCommand* command() const { return std::get_if<ShellCommand>(&value); }
    const CommandGroup* group() const { return std::get_if<CommandGroup>(&value); }
    bool isSeparator() const { return std::holds_alternative<Separator>(value); }

    /// Every command at or below this node, depth-first in menu order, each with `path`
    /// followed by the titles of the groups between this node and the command.
    std::vector<CommandEntry> flattenedCommands(const std::vector<std::string>& path) const;

    bool operator==(const MenuNode&) const = default;
};

/// The result of one load of a configuration file.
struct Configuration {
    ConfigurationSettings settings;
    std::vector<MenuNode> items;
    ConfigurationFormat format = ConfigurationFormat::v2;
    std::vector<ConfigurationWarning> warnings;

    /// Every command of the tree, depth-first in menu order, with its group path.
    std::vector<CommandEntry> allCommands() const;

    /// Visits what `allCommands` lists, in the same order, without copying anything.
    void forEachCommand(const CommandVisitor& visit) const;

    /// How many entries `allCommands` has, counted without building them.
    std::size_t commandCount() const;

    /// The commands whose title, or else whose group path and title, fuzzy-match the query,
    /// best first, at most `limit` of them. `SearchResult` and the ranking rules are in
    /// KelvaneCore/Search/CommandSearch.hpp.
    std::vector<SearchResult> search(std::string_view query, std::size_t limit) const;

    bool operator==(const Configuration&) const = default;
};

} // namespace kelvane

#pragma once

#include "KelvaneCore/Safety/ShellWords.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// Which program a simple command runs once assignments, reserved words and wrappers such as
/// `sudo`, `env`, `xargs` or `timeout` are taken off, and what that program does with its
/// arguments.
namespace kelvane::RunningCommand {

/// What a command does with its arguments, as far as the reading of a command line cares.
enum class Role {
    other,
    shell,
    interpreter,
    evaluates,
    sources,
    watches,
    remoteShell,
    switchesUser,
    finds,
    /// Reads its arguments as data only and runs none of them.
    readsData,
    git,
    packageManager,
    container,
};

/// What the program of that name does with its arguments; `name` is in lower case.
Role roleOf(std::string_view name);

/// Whether none of the arguments runs: data-only commands, and tools whose few subcommands
/// that run something are not among the words.
bool runsNoArgument(Role role, std::span<const ShellWords::Word> arguments);

/// `if`, `then`, `{`, `!` and their kin: they open or close a compound command.
bool isReservedWord(std::string_view word);

/// The command that runs once assignments, reserved words and wrappers are taken off.
struct Resolved {
    /// The index of the command word.
    std::size_t command = 0;
    /// The program's file name in lower case (macOS's file systems ignore case); empty when
    /// only the running shell knows it.
    std::string name;
    /// The words of the wrappers on the way that run it as administrator (`sudo`, `doas`).
    std::vector<std::size_t> elevatingWords;
    /// A wrapper on the way (xargs) adds operands when it runs.
    bool moreOperands = false;
    /// `command -v`: looks the name up and runs nothing.
    bool looksUp = false;
};

/// None when the words hold no command.
std::optional<Resolved> resolve(std::span<const ShellWords::Word> words);

} // namespace kelvane::RunningCommand

#pragma once

#include "KelvaneCore/Terminal/ScriptEngine.hpp"

#include <optional>
#include <string>
#include <vector>

namespace kelvane {

/// The parts of the environment that decide which terminal program runs a command and how.
struct TerminalEnvironment {
    /// The user's preferred terminal program ($TERMINAL), a name or a path.
    std::optional<std::string> terminal;
    /// Where programs are looked up ($PATH).
    std::string path;
    /// The user's shell ($SHELL); /bin/sh when absent.
    std::optional<std::string> shell;
    /// Where new terminals start ($HOME), as new Terminal windows do.
    std::optional<std::string> home;

    /// The values of the running process.
    static TerminalEnvironment fromProcess();
};

/// Finds and starts terminal emulators.
namespace TerminalEmulator {

/// The terminal programs looked for, in this order: $TERMINAL, x-terminal-emulator, then
/// gnome-terminal, konsole, xfce4-terminal, xterm.
std::vector<std::string> candidates(const TerminalEnvironment& environment);

/// The path of the first of the `candidates` found.
std::optional<std::string> find(const TerminalEnvironment& environment);

/// The argument vector that makes `emulator` run `commandLine` through the user's shell and
/// then keep the window open with an interactive shell.
std::vector<std::string> arguments(const std::string& emulator,
                                   const TerminalEnvironment& environment,
                                   const std::string& commandLine);

/// Starts the program `arguments[0]` (a path) in a session of its own, in `workingDirectory` if
/// given, and returns without waiting for it. An error when it could not be started.
std::optional<ScriptError> launchDetached(std::vector<std::string> arguments,
                                          const std::optional<std::string>& workingDirectory);

} // namespace TerminalEmulator

} // namespace kelvane

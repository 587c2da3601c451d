#pragma once

#include "KelvaneCore/Terminal/TerminalAppScriptBuilder.hpp"
#include "KelvaneCore/Terminal/TerminalProgram.hpp"

#include <string>
#include <vector>

namespace kelvane {

/// How one terminal program is started for one command.
struct TerminalLaunch {
    /// The program's name (looked up in the search path) or path, then its arguments. The
    /// command line is exactly one of them, and only the user's shell reads it, once.
    std::vector<std::string> arguments;
    /// A short-lived client of a running terminal (tmux, `kitty @`, `wezterm cli`): its exit
    /// status tells whether the command was started. Otherwise the program is a window of its
    /// own that is left running.
    bool awaitsAnswer = false;

    bool operator==(const TerminalLaunch&) const = default;
};

/// Turns a command into the argument vector of a command-line terminal program.
struct TerminalArgumentBuilder {
    /// Builds the command line: working directory, home expansion, quoting.
    TerminalAppScriptBuilder lines;
    /// The user's shell, an absolute path; it reads the command line and then keeps the window
    /// open as an interactive shell.
    std::string shell;
    /// The desktop's terminal program ($TERMINAL or x-terminal-emulator), name or path: it is
    /// the default program and holds tmux's new sessions.
    std::string desktopTerminal;
    TerminalPlatform platform = TerminalPlatform::linux;

    /// The launch of `kind` for `openIn`, which must be a behaviour the program supports (see
    /// `TerminalProgram::nearestBehavior`); `kind` must be of the command-line family.
    TerminalLaunch launch(TerminalKind kind, const ShellCommand& command,
                          OpenBehavior openIn) const;

    /// The shell run that reads `commandLine` once and then stays as an interactive shell:
    /// `shell`, "-c" and the line.
    static std::vector<std::string> keptOpen(const std::string& shell,
                                             std::string_view commandLine);

    /// The option with which `terminal` runs a program given with its arguments: "--" for
    /// gnome-terminal, "-x" for xfce4-terminal, "-e" for every other program.
    static std::string executeOption(std::string_view terminal);
};

} // namespace kelvane

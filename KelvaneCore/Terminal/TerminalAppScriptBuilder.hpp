#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <string>

namespace kelvane {

/// Turns a command into the shell command line and the AppleScript that runs it in Terminal.
struct TerminalAppScriptBuilder {
    explicit TerminalAppScriptBuilder(std::string homeDirectory)
        : homeDirectory(std::move(homeDirectory)) {}

    /// The user's home directory without trailing slash; replaces a leading "~" of a working
    /// directory.
    std::string homeDirectory;

    /// The command text, preceded by a change into its working directory when it has one; the
    /// command then runs only once that change has succeeded, and in exactly that directory.
    std::string commandLine(const ShellCommand& command) const;

    /// The complete AppleScript source that runs `commandLine(command)` as `openIn` asks.
    std::string script(const ShellCommand& command, OpenBehavior openIn) const;
};

} // namespace kelvane

#pragma once

#include "KelvaneCore/Configuration/ConfigurationSettings.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

/// The systems Kelvane runs commands on; each terminal program exists on some of them.
enum class TerminalPlatform { macOS, linux };

/// How Kelvane drives a terminal program.
enum class TerminalFamily {
    /// An AppleScript, run by the platform's script engine.
    appleScript,
    /// A program started with an argument vector that holds the command line as one argument.
    commandLine,
};

/// One row of the table of terminal programs: what a program is called, where it exists and
/// which open behaviours it can really do.
struct TerminalProgram {
    TerminalKind kind;
    /// The name shown to the user.
    std::string_view name;
    /// The program looked up in the search path; empty where the platform finds it otherwise.
    std::string_view executable;
    TerminalFamily family;
    bool onMacOS;
    bool onLinux;
    bool opensTabs;
    bool writesIntoCurrentWindow;
    /// Whether the window or tab gets the command's title.
    bool titlesAfterCommand;

    /// Whether the program can do `behavior` itself; every program opens new windows.
    bool supports(OpenBehavior behavior) const;
    /// The behaviour the program uses for `requested`: the request itself where it can, else the
    /// nearest one it can (the current window becomes a tab, a tab becomes a window).
    OpenBehavior nearestBehavior(OpenBehavior requested) const;
    bool existsOn(TerminalPlatform platform) const;

    /// What the program does with each behaviour, one German sentence for the settings.
    std::string behaviourSummary() const;
    /// The German log line for a request the program cannot do itself; none where it can.
    std::optional<std::string> fallbackNotice(OpenBehavior requested) const;
};

/// The row of `kind`.
const TerminalProgram& terminalProgram(TerminalKind kind);

/// The program that runs commands on `platform` when the file chose `chosen`: the choice where it
/// exists there, otherwise the platform's own terminal (Terminal.app, or the desktop's default).
TerminalKind terminalKindUsedOn(TerminalPlatform platform, TerminalKind chosen);

/// The German name of a behaviour as the settings show it: "Neues Fenster", "Neuer Tab",
/// "Aktuelles Fenster".
std::string_view behaviourName(OpenBehavior behavior);

} // namespace kelvane

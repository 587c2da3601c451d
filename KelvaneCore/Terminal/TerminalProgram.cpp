#include "KelvaneCore/Terminal/TerminalProgram.hpp"

#include "KelvaneCore/Text/GermanQuotes.hpp"
#include "KelvaneCore/Text/Joining.hpp"

#include <algorithm>
#include <array>
#include <vector>

namespace kelvane {
namespace {

using enum TerminalKind;
constexpr auto script = TerminalFamily::appleScript;
constexpr auto arguments = TerminalFamily::commandLine;

// GNOME Terminal puts "--tab" into the window it is called from, and from anywhere else opens a
// window of its own, so it cannot open a tab for a program outside it.
// clang-format off
constexpr std::array<TerminalProgram, allTerminalKinds.size()> table{{
    // kind           name                  executable          family     macOS  Linux  tabs   current title
    {terminalApp,    "Terminal.app",       "",                 script,    true,  false, true,  true,  false},
    {iTerm2,         "iTerm2",             "",                 script,    true,  false, true,  true,  true},
    {wezterm,        "WezTerm",            "wezterm",          arguments, true,  true,  true,  true,  false},
    {kitty,          "kitty",              "kitty",            arguments, true,  true,  true,  false, true},
    {ghostty,        "Ghostty",            "ghostty",          arguments, true,  true,  false, false, true},
    {alacritty,      "Alacritty",          "alacritty",        arguments, true,  true,  false, false, true},
    {desktopDefault, "Standardterminal",   "",                 arguments, false, true,  false, false, false},
    {gnomeTerminal,  "GNOME Terminal",     "gnome-terminal",   arguments, false, true,  false, false, true},
    {konsole,        "Konsole",            "konsole",          arguments, false, true,  true,  false, false},
    {xfce4Terminal,  "Xfce Terminal",      "xfce4-terminal",   arguments, false, true,  true,  false, true},
    {foot,           "foot",               "foot",             arguments, false, true,  false, false, true},
    {xterm,          "xterm",              "xterm",            arguments, false, true,  false, false, true},
    {tmux,           "tmux",               "tmux",             arguments, false, true,  true,  true,  true},
}};
// clang-format on

std::string_view whatOpens(OpenBehavior behavior) {
    switch (behavior) {
    case OpenBehavior::tab:
        return "einen neuen Tab";
    case OpenBehavior::current:
        return "das aktuelle Fenster";
    case OpenBehavior::window:
        break;
    }
    return "ein neues Fenster";
}

} // namespace

bool TerminalProgram::supports(OpenBehavior behavior) const {
    switch (behavior) {
    case OpenBehavior::tab:
        return opensTabs;
    case OpenBehavior::current:
        return writesIntoCurrentWindow;
    case OpenBehavior::window:
        break;
    }
    return true;
}

OpenBehavior TerminalProgram::nearestBehavior(OpenBehavior requested) const {
    if (supports(requested))
        return requested;
    // The front window's new tab is nearer to the front window than a window of its own.
    if (requested == OpenBehavior::current && opensTabs)
        return OpenBehavior::tab;
    return OpenBehavior::window;
}

bool TerminalProgram::existsOn(TerminalPlatform platform) const {
    return platform == TerminalPlatform::macOS ? onMacOS : onLinux;
}

std::string TerminalProgram::behaviourSummary() const {
    std::vector<std::string> fallbacks;
    for (OpenBehavior target : allOpenBehaviors) {
        std::vector<std::string> requests;
        for (OpenBehavior requested : allOpenBehaviors)
            if (requested != target && nearestBehavior(requested) == target)
                requests.push_back(germanQuoted(behaviourName(requested)));
        if (requests.empty())
            continue;
        const std::string verb = requests.size() == 1 ? "\u00F6ffnet " : "\u00F6ffnen ";
        fallbacks.push_back(verb + joined(requests, " und ") + " " +
                            std::string(whatOpens(target)));
    }
    if (fallbacks.empty())
        return std::string(name) + " \u00F6ffnet Befehle in einem neuen Fenster, einem neuen Tab "
                                   "oder im aktuellen Fenster.";
    return "Mit " + std::string(name) + " " + joined(fallbacks, ", ") + ".";
}

std::optional<std::string> TerminalProgram::fallbackNotice(OpenBehavior requested) const {
    if (supports(requested))
        return std::nullopt;
    return germanQuoted(behaviourName(requested)) + " ist mit " + std::string(name) +
           " nicht m\u00F6glich \u2014 Kelvane \u00F6ffnet stattdessen " +
           std::string(whatOpens(nearestBehavior(requested))) + ".";
}

const TerminalProgram& terminalProgram(TerminalKind kind) {
    return *std::find_if(table.begin(), table.end(),
                         [kind](const TerminalProgram& program) { return program.kind == kind; });
}

TerminalKind terminalKindUsedOn(TerminalPlatform platform, TerminalKind chosen) {
    if (terminalProgram(chosen).existsOn(platform))
        return chosen;
    return platform == TerminalPlatform::macOS ? terminalApp : desktopDefault;
}

std::string_view behaviourName(OpenBehavior behavior) {
    switch (behavior) {
    case OpenBehavior::tab:
        return "Neuer Tab";
    case OpenBehavior::current:
        return "Aktuelles Fenster";
    case OpenBehavior::window:
        break;
    }
    return "Neues Fenster";
}

} // namespace kelvane

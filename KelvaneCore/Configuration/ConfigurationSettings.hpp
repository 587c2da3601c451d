#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

/// The terminal program commands run in. What each can do, and on which system, is the table
/// of `TerminalProgram.hpp`; `terminalApp` is what a file gets that names none.
enum class TerminalKind {
    terminalApp,
    iTerm2,
    wezterm,
    kitty,
    ghostty,
    alacritty,
    desktopDefault,
    gnomeTerminal,
    konsole,
    xfce4Terminal,
    foot,
    xterm,
    tmux,
};
/// Where a command opens: a new window, a new tab, or the frontmost window.
enum class OpenBehavior { window, tab, current };
/// How the loader orders menu entries.
enum class SortMode { fileOrder, alphabetical };
/// Which reader produced a configuration.
enum class ConfigurationFormat { legacyShuttle, v2 };

inline constexpr std::array<TerminalKind, 13> allTerminalKinds{TerminalKind::terminalApp,
                                                               TerminalKind::iTerm2,
                                                               TerminalKind::wezterm,
                                                               TerminalKind::kitty,
                                                               TerminalKind::ghostty,
                                                               TerminalKind::alacritty,
                                                               TerminalKind::desktopDefault,
                                                               TerminalKind::gnomeTerminal,
                                                               TerminalKind::konsole,
                                                               TerminalKind::xfce4Terminal,
                                                               TerminalKind::foot,
                                                               TerminalKind::xterm,
                                                               TerminalKind::tmux};
inline constexpr std::array<OpenBehavior, 3> allOpenBehaviors{
    OpenBehavior::window, OpenBehavior::tab, OpenBehavior::current};
inline constexpr std::array<SortMode, 2> allSortModes{SortMode::fileOrder, SortMode::alphabetical};

/// The raw texts: "terminal.app", "iterm2", "wezterm", "kitty", "ghostty", "alacritty",
/// "default", "gnome-terminal", "konsole", "xfce4-terminal", "foot", "xterm", "tmux"; "window",
/// "tab", "current"; "fileOrder", "alphabetical".
std::string_view rawValue(TerminalKind kind);
std::string_view rawValue(OpenBehavior behavior);
std::string_view rawValue(SortMode mode);

/// Construction from the exact raw text (case-sensitive); none for any other text.
std::optional<TerminalKind> terminalKindFromRawValue(std::string_view raw);
std::optional<OpenBehavior> openBehaviorFromRawValue(std::string_view raw);
std::optional<SortMode> sortModeFromRawValue(std::string_view raw);

/// How the configuration file is opened for editing.
struct EditorSetting {
    enum class Kind { terminalEditor, system };

    /// The system's default application for the file.
    static EditorSetting system() { return {Kind::system, {}}; }
    /// An editor command run in the terminal, kept as written.
    static EditorSetting terminalEditor(std::string command) {
        return {Kind::terminalEditor, std::move(command)};
    }

    Kind kind = Kind::system;
    /// The editor command; empty for `system`.
    std::string command;

    bool operator==(const EditorSetting&) const = default;
};

/// The terminal a file asks for; `unsupported` holds, as written, a name that is none of the
/// programs, in which case `kind` is `terminalApp`.
struct LenientTerminalKind {
    TerminalKind kind = TerminalKind::terminalApp;
    std::optional<std::string> unsupported;
    bool operator==(const LenientTerminalKind&) const = default;
};

/// Forgiving readers of the settings texts of a file; they never fail. A terminal name is read
/// without regard to case, and "terminal", "iterm" (as Shuttle files write it) and
/// "x-terminal-emulator" name Terminal.app, iTerm2 and the desktop's default.
LenientTerminalKind lenientTerminalKind(const std::optional<std::string_view>& raw);
OpenBehavior lenientOpenBehavior(const std::optional<std::string_view>& raw);
EditorSetting lenientEditorSetting(const std::optional<std::string_view>& raw);

/// The settings block of a configuration file.
struct ConfigurationSettings {
    TerminalKind terminal = TerminalKind::terminalApp;
    OpenBehavior openIn = OpenBehavior::window;
    EditorSetting editor = EditorSetting::system();
    /// None when the file does not say.
    std::optional<bool> launchAtLogin;

    bool operator==(const ConfigurationSettings&) const = default;
};

} // namespace kelvane

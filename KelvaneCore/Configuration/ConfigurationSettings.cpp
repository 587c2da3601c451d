#include "KelvaneCore/Configuration/ConfigurationSettings.hpp"

#include "KelvaneCore/Unicode/UnicodeText.hpp"

namespace kelvane {
namespace {

template <typename Enum, std::size_t count>
std::optional<Enum> fromRawValue(const std::array<Enum, count>& cases, std::string_view raw) {
    for (Enum value : cases)
        if (rawValue(value) == raw)
            return value;
    return std::nullopt;
}

} // namespace

std::string_view rawValue(TerminalKind kind) {
    switch (kind) {
    case TerminalKind::terminalApp:
        break;
    case TerminalKind::iTerm2:
        return "iterm2";
    case TerminalKind::wezterm:
        return "wezterm";
    case TerminalKind::kitty:
        return "kitty";
    case TerminalKind::ghostty:
        return "ghostty";
    case TerminalKind::alacritty:
        return "alacritty";
    case TerminalKind::desktopDefault:
        return "default";
    case TerminalKind::gnomeTerminal:
        return "gnome-terminal";
    case TerminalKind::konsole:
        return "konsole";
    case TerminalKind::xfce4Terminal:
        return "xfce4-terminal";
    case TerminalKind::foot:
        return "foot";
    case TerminalKind::xterm:
        return "xterm";
    case TerminalKind::tmux:
        return "tmux";
    }
    return "terminal.app";
}

std::string_view rawValue(OpenBehavior behavior) {
    switch (behavior) {
    case OpenBehavior::tab:
        return "tab";
    case OpenBehavior::current:
        return "current";
    case OpenBehavior::window:
        break;
    }
    return "window";
}

std::string_view rawValue(SortMode mode) {
    return mode == SortMode::alphabetical ? "alphabetical" : "fileOrder";
}

std::optional<TerminalKind> terminalKindFromRawValue(std::string_view raw) {
    return fromRawValue(allTerminalKinds, raw);
}

std::optional<OpenBehavior> openBehaviorFromRawValue(std::string_view raw) {
    return fromRawValue(allOpenBehaviors, raw);
}

std::optional<SortMode> sortModeFromRawValue(std::string_view raw) {
    return fromRawValue(allSortModes, raw);
}

LenientTerminalKind lenientTerminalKind(const std::optional<std::string_view>& raw) {
    if (!raw || raw->empty())
        return {};
    const std::string lower = Unicode::lowercased(*raw);
    if (lower == "terminal")
        return {};
    if (lower == "iterm")
        return {TerminalKind::iTerm2, std::nullopt};
    if (lower == "x-terminal-emulator")
        return {TerminalKind::desktopDefault, std::nullopt};
    if (const auto kind = terminalKindFromRawValue(lower))
        return {*kind, std::nullopt};
    return {TerminalKind::terminalApp, std::string(*raw)};
}

OpenBehavior lenientOpenBehavior(const std::optional<std::string_view>& raw) {
    if (!raw)
        return OpenBehavior::window;
    const std::string lower = Unicode::lowercased(*raw);
    if (lower == "tab")
        return OpenBehavior::tab;
    if (lower == "current")
        return OpenBehavior::current;
    return OpenBehavior::window;
}

EditorSetting lenientEditorSetting(const std::optional<std::string_view>& raw) {
    if (!raw || raw->empty() || Unicode::lowercased(*raw) == "default")
        return EditorSetting::system();
    return EditorSetting::terminalEditor(std::string(*raw));
}

} // namespace kelvane

#include "KelvaneCore/Terminal/TerminalArguments.hpp"

#include "KelvaneCore/Terminal/ShellQuoting.hpp"

namespace kelvane {
namespace {

using Arguments = std::vector<std::string>;

Arguments operator+(Arguments front, const Arguments& back) {
    front.insert(front.end(), back.begin(), back.end());
    return front;
}

// A title is one line of plain text to every program.
std::string oneLine(std::string_view title) {
    std::string line;
    for (const char character : title)
        line += static_cast<unsigned char>(character) < 0x20 || character == 0x7F ? ' ' : character;
    return line;
}

// tmux expands "#" formats in window names, and takes an argument that ends in ";" as the end
// of its command.
std::string tmuxName(std::string_view title) {
    std::string name;
    for (const char character : oneLine(title))
        if (character != '#')
            name += character;
    while (!name.empty() && (name.back() == ';' || name.back() == '\\'))
        name.pop_back();
    return name;
}

} // namespace

std::vector<std::string> TerminalArgumentBuilder::keptOpen(const std::string& shell,
                                                           std::string_view commandLine) {
    // A line feed, not a semicolon, so that a trailing comment in the command cannot swallow
    // the shell that keeps the window open.
    return {shell, "-c", std::string(commandLine) + "\nexec " + ShellQuoting::singleQuoted(shell)};
}

std::string TerminalArgumentBuilder::executeOption(std::string_view terminal) {
    const std::string_view name = terminal.substr(terminal.rfind('/') + 1);
    if (name == "gnome-terminal")
        return "--";
    if (name == "xfce4-terminal")
        return "-x";
    return "-e";
}

TerminalLaunch TerminalArgumentBuilder::launch(TerminalKind kind, const ShellCommand& command,
                                               OpenBehavior openIn) const {
    const std::string line = lines.commandLine(command);
    const Arguments shellRun = keptOpen(shell, line);
    // What is typed into a running shell ends with the key that runs it.
    const std::string typed = line + "\n";
    const std::string title = oneLine(command.title);
    const bool tab = openIn == OpenBehavior::tab;
    // A macOS application bundle is started through "open", which hands it the arguments.
    const auto application = [&](std::string bundle, std::string executable) -> Arguments {
        if (platform == TerminalPlatform::macOS)
            return {"open", "-na", std::move(bundle), "--args"};
        return {std::move(executable)};
    };

    switch (kind) {
    case TerminalKind::wezterm:
        if (openIn == OpenBehavior::current)
            return {{"wezterm", "cli", "send-text", "--no-paste", "--", typed}, true};
        if (tab)
            return {Arguments{"wezterm", "cli", "spawn", "--"} + shellRun, true};
        return {Arguments{"wezterm", "start", "--"} + shellRun};
    case TerminalKind::kitty:
        if (tab)
            return {Arguments{"kitty", "@", "launch", "--type=tab", "--tab-title=" + title} +
                        shellRun,
                    true};
        return {Arguments{"kitty", "--title=" + title} + shellRun};
    case TerminalKind::ghostty:
        return {application("Ghostty", "ghostty") + Arguments{"--title=" + title, "-e"} + shellRun};
    case TerminalKind::alacritty:
        return {application("Alacritty", "alacritty") + Arguments{"--title=" + title, "-e"} +
                shellRun};
    case TerminalKind::gnomeTerminal:
        return {Arguments{"gnome-terminal", "--window", "--title=" + title, "--"} + shellRun};
    case TerminalKind::konsole:
        return {(tab ? Arguments{"konsole", "--new-tab", "-e"} : Arguments{"konsole", "-e"}) +
                shellRun};
    case TerminalKind::xfce4Terminal:
        return {Arguments{"xfce4-terminal", tab ? "--tab" : "--window", "--title=" + title, "-x"} +
                shellRun};
    case TerminalKind::foot:
        return {Arguments{"foot", "--title=" + title, "--"} + shellRun};
    case TerminalKind::xterm:
        return {Arguments{"xterm", "-T", title, "-e"} + shellRun};
    case TerminalKind::tmux:
        if (openIn == OpenBehavior::current)
            return {{"tmux", "send-keys", "-l", "--", typed}, true};
        if (tab)
            return {Arguments{"tmux", "new-window", "-n", tmuxName(command.title), "--"} + shellRun,
                    true};
        return {Arguments{desktopTerminal, executeOption(desktopTerminal), "tmux", "new-session",
                          "-n", tmuxName(command.title), "--"} +
                shellRun};
    case TerminalKind::desktopDefault:
    case TerminalKind::terminalApp:
    case TerminalKind::iTerm2:
        break;
    }
    return {Arguments{desktopTerminal, executeOption(desktopTerminal)} + shellRun};
}

} // namespace kelvane

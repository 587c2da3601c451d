#include "KelvaneCore/Terminal/TerminalAppScriptBuilder.hpp"

#include "KelvaneCore/Terminal/AppleScriptLiteral.hpp"
#include "KelvaneCore/Terminal/ShellQuoting.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

namespace kelvane {

std::string TerminalAppScriptBuilder::commandLine(const ShellCommand& command) const {
    if (!command.workingDirectory)
        return command.command;
    const std::string_view directory = Unicode::trimmed(*command.workingDirectory);
    if (directory.empty())
        return command.command;
    // Only the user's own home is expanded; "~name" is left for the shell to reject.
    const bool inHome = directory == "~" || directory.starts_with("~/");
    std::string path =
        inHome ? homeDirectory + std::string(directory.substr(1)) : std::string(directory);
    // A relative name is anchored at the current folder: "cd" would read "-P", "-" or "+1" as
    // an option or a directory stack entry, and would look a bare name up in CDPATH.
    if (!path.starts_with('/'))
        path.insert(0, "./");
    // The group keeps every part of the command behind the change of directory; its closing
    // brace stands on a line of its own so that a trailing comment cannot swallow it.
    return "cd " + ShellQuoting::singleQuoted(path) + " && { " + command.command + "\n}";
}

std::string TerminalAppScriptBuilder::script(const ShellCommand& command,
                                             OpenBehavior openIn) const {
    const std::string literal = AppleScriptLiteral::quoted(commandLine(command));
    switch (openIn) {
    case OpenBehavior::window:
        return "tell application \"Terminal\"\n"
               "    activate\n"
               "    do script " +
               literal + "\nend tell";
    case OpenBehavior::tab:
        return "tell application \"Terminal\" to activate\n"
               "tell application \"System Events\" to tell process \"Terminal\"\n"
               "    keystroke \"t\" using command down\n"
               "end tell\n"
               "tell application \"Terminal\"\n"
               "    do script " +
               literal + " in front window\nend tell";
    case OpenBehavior::current:
        return "tell application \"Terminal\"\n"
               "    activate\n"
               "    if (count of windows) is 0 then\n"
               "        do script " +
               literal +
               "\n"
               "    else\n"
               "        do script " +
               literal +
               " in front window\n"
               "    end if\n"
               "end tell";
    }
    return {};
}

} // namespace kelvane

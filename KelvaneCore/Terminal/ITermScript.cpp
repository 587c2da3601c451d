#include "KelvaneCore/Terminal/ITermScript.hpp"

#include "KelvaneCore/Terminal/AppleScriptLiteral.hpp"

namespace kelvane {

std::string iTermScript(const TerminalAppScriptBuilder& lines, const ShellCommand& command,
                        OpenBehavior openIn) {
    const std::string literal = AppleScriptLiteral::quoted(lines.commandLine(command));
    const std::string named =
        "        set name to " + AppleScriptLiteral::quoted(command.title) + "\n";
    std::string script = "tell application \"iTerm\"\n"
                         "    activate\n";
    switch (openIn) {
    case OpenBehavior::window:
        script += "    create window with default profile\n";
        break;
    case OpenBehavior::tab:
        script += "    if (count of windows) is 0 then\n"
                  "        create window with default profile\n"
                  "    else\n"
                  "        tell current window to create tab with default profile\n"
                  "    end if\n";
        break;
    case OpenBehavior::current:
        script += "    if (count of windows) is 0 then\n"
                  "        create window with default profile\n"
                  "    end if\n";
        break;
    }
    script += "    tell current session of current window\n";
    // The user's own session keeps the name it has.
    if (openIn != OpenBehavior::current)
        script += named;
    script += "        write text " + literal +
              "\n"
              "    end tell\n"
              "end tell";
    return script;
}

} // namespace kelvane

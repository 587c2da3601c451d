#pragma once

#include "KelvaneCore/Terminal/TerminalAppScriptBuilder.hpp"

#include <string>

namespace kelvane {

/// The AppleScript that makes iTerm2 run `lines.commandLine(command)` as `openIn` asks: typed into
/// the shell of a new window, of a new tab of the front window, or of the front window's current
/// session. New windows and tabs are named after the command's title.
std::string iTermScript(const TerminalAppScriptBuilder& lines, const ShellCommand& command,
                        OpenBehavior openIn);

} // namespace kelvane

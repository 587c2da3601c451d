#pragma once

#include "KelvaneCore/Terminal/ScriptEngine.hpp"

#include <memory>
#include <optional>
#include <string>

namespace kelvane {

/// The platform's engine for the Terminal scripts: AppleScript on macOS, a terminal emulator
/// stand-in on Linux.
std::unique_ptr<ScriptEngine> makeScriptEngine();

/// The name of the program that engine runs commands in, as the settings show it.
std::string terminalProgramName();

/// The path of the desktop's own terminal program, where the system has one to find.
std::optional<std::string> desktopTerminal();

} // namespace kelvane

#pragma once

#include "KelvaneCore/Terminal/TerminalBackend.hpp"
#include "KelvaneCore/Terminal/TerminalProgram.hpp"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

/// The terminal programs of this system and the backends that drive them.
namespace TerminalPrograms {

/// The system this build runs on.
TerminalPlatform platform();

/// The programs of this system found on this machine, in the order of the table: what the
/// settings offer to choose from. The system's own terminal is always among them.
std::vector<TerminalKind> installed();

/// The name of the program that runs commands when `chosen` is asked for, as the user knows
/// it: the desktop's default names the program it found.
std::string usedName(TerminalKind chosen);

/// One German sentence for the settings: which program runs for `chosen`, and which behaviours
/// it replaces by which.
std::string description(TerminalKind chosen);

/// The backend that runs every command in the program `choice` names at that moment, with the
/// user's home folder, shell and search path. Notices go to `logNotice`.
std::unique_ptr<TerminalBackend> makeBackend(std::function<TerminalKind()> choice,
                                             std::function<void(std::string_view)> logNotice);

} // namespace TerminalPrograms
} // namespace kelvane

#pragma once

#include "KelvaneCore/Terminal/ScriptEngine.hpp"

#include <memory>

namespace kelvane {

/// The platform's engine for the Terminal scripts: AppleScript on macOS, a terminal emulator
/// stand-in on Linux.
std::unique_ptr<ScriptEngine> makeScriptEngine();

} // namespace kelvane

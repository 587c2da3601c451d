#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"
#include "KelvaneCore/Terminal/TerminalExecutionError.hpp"

#include <optional>
#include <string_view>

namespace kelvane {

/// `UnsafeCommandText` when the command, or the rest of its `commandLine` (the directory it
/// changes into), holds a NUL character or invalid UTF-8; no terminal gets such text unchanged.
std::optional<TerminalExecutionError> unsafeCommandText(const ShellCommand& command,
                                                        std::string_view commandLine);

} // namespace kelvane

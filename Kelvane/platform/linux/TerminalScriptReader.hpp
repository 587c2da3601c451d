#pragma once

#include "KelvaneCore/Terminal/ScriptEngine.hpp"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

/// Reads the AppleScript that drives Terminal, as far as this program writes it: tell blocks
/// for Terminal and for System Events, `activate`, `do script` with a string literal (optionally
/// `in front window`), the window-count condition and the new-tab keystroke.
namespace kelvane::TerminalScriptReader {

/// AppleScript's number for a syntax error of the form "expected this, found that".
inline constexpr std::int64_t syntaxError = -2741;

/// The command lines the script starts, in order, or a syntax error for anything else. No
/// window is ever addressed: `count of windows` is 0, and the `else` branch is checked but
/// skipped.
std::variant<std::vector<std::string>, ScriptError> commandLines(std::string_view source);

} // namespace kelvane::TerminalScriptReader

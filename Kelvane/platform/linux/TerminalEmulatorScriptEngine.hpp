#pragma once

#include "Kelvane/platform/linux/TerminalEmulator.hpp"
#include "KelvaneCore/Terminal/ScriptEngine.hpp"

#include <functional>

namespace kelvane {

/// Stands in for AppleScript on Linux: understands the Terminal scripts this program writes and
/// runs each `do script` command line in a new terminal emulator window.
class TerminalEmulatorScriptEngine final : public ScriptEngine {
public:
    /// Starts a terminal program; `TerminalEmulator::launchDetached` outside tests.
    using Launcher = std::function<std::optional<ScriptError>(
        std::vector<std::string> arguments, const std::optional<std::string>& workingDirectory)>;

    explicit TerminalEmulatorScriptEngine(TerminalEnvironment environment,
                                          Launcher launch = TerminalEmulator::launchDetached);

    /// Text that is no UTF-8 cannot be a script; any other text it does not understand is a
    /// syntax error and runs nothing. Without a terminal program the error is -10814, as on
    /// macOS when an application cannot be found, with advice that names the programs looked for
    /// and $TERMINAL.
    std::optional<ScriptError> execute(const std::string& source) override;

private:
    TerminalEnvironment m_environment;
    Launcher m_launch;
};

} // namespace kelvane

#pragma once

#include "KelvaneCore/Terminal/ProgramLauncher.hpp"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

/// Finding and starting programs with POSIX calls, on every system.
namespace ProgramProcess {

/// The path of `program`: itself when it holds a slash, else the first executable file of that
/// name in the folders of `searchPath` (colon-separated; empty entries are passed over, since
/// the current folder is no place to trust).
std::optional<std::string> find(const std::string& program, std::string_view searchPath);

/// Starts `arguments[0]` (a path) in a session of its own, in `workingDirectory` if given, and
/// returns without waiting for it. The error number when it could not be started.
std::optional<int> startDetached(std::vector<std::string> arguments,
                                 const std::optional<std::string>& workingDirectory);

/// Runs `arguments[0]` (a path) to its end, at most for `limit`, with no input and its error
/// output collected: `started` for exit status 0, `failed` with the status and the error output
/// otherwise (a program stopped at the limit is `failed` too), `notStarted` when it could not be
/// started.
ProgramAnswer runToEnd(std::vector<std::string> arguments,
                       const std::optional<std::string>& workingDirectory,
                       std::chrono::milliseconds limit);

} // namespace ProgramProcess

/// Starts terminal programs found in a search path: windows detached, clients waited for.
class ProcessProgramLauncher final : public ProgramLauncher {
public:
    /// Programs start in `workingDirectory` (the home folder, as new terminal windows do).
    ProcessProgramLauncher(std::string searchPath, std::optional<std::string> workingDirectory);

    ProgramAnswer launch(const TerminalLaunch& launch) override;

private:
    std::string m_searchPath;
    std::optional<std::string> m_workingDirectory;
};

} // namespace kelvane

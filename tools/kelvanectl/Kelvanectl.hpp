#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

/// The command-line companion: Kelvane's configuration core within reach of a shell.
namespace kelvane::ctl {

/// The exit codes, the same for every subcommand.
enum ExitCode : int {
    success = 0,
    somethingToReport = 1,
    notLoaded = 2,
    notTrusted = 3,
    wrongUsage = 64,
};

/// Runs one invocation (the arguments after the program name) and returns its exit code.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace kelvane::ctl

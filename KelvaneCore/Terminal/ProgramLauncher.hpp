#pragma once

#include "KelvaneCore/Terminal/TerminalArguments.hpp"

#include <string>

namespace kelvane {

/// What became of starting a terminal program.
struct ProgramAnswer {
    enum class Outcome {
        /// Started (a window left running), or a client that exited with status 0.
        started,
        /// The program is not in the search path.
        notFound,
        /// Found, but it could not be started; `message` says why.
        notStarted,
        /// A client that exited with `exitStatus` other than 0; `message` is its error output.
        failed,
    };
    Outcome outcome = Outcome::started;
    int exitStatus = 0;
    std::string message;

    bool operator==(const ProgramAnswer&) const = default;
};

/// Starts terminal programs; a recording fake in tests.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;

    /// Looks `launch.arguments[0]` up and starts it. A client that `awaitsAnswer` is waited for
    /// (for a limited time); any other program is left running on its own.
    virtual ProgramAnswer launch(const TerminalLaunch& launch) = 0;
};

} // namespace kelvane

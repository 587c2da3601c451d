#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"
#include "KelvaneCore/Terminal/TerminalExecutionError.hpp"

#include <functional>
#include <optional>

namespace kelvane {

/// Runs commands in a terminal program.
class TerminalBackend {
public:
    /// Called exactly once per run: with none once the command has been started, otherwise with
    /// the reason it was not. It may be called on a background thread and must not throw.
    using Completion = std::function<void(std::optional<TerminalExecutionError>)>;

    virtual ~TerminalBackend() = default;

    /// The terminal program this backend drives.
    virtual TerminalKind kind() const = 0;

    /// Starts the command as `openIn` asks and returns at once; `completion` reports the result.
    virtual void run(const ShellCommand& command, OpenBehavior openIn, Completion completion) = 0;
};

} // namespace kelvane

#pragma once

#include "KelvaneCore/Terminal/ProgramLauncher.hpp"
#include "KelvaneCore/Terminal/SerialWorker.hpp"
#include "KelvaneCore/Terminal/TerminalBackend.hpp"

#include <memory>

namespace kelvane {

/// Runs commands in a terminal program that is started with an argument vector. Programs start
/// one at a time, in the order submitted, on the backend's own worker thread; completions are
/// called there too.
class CommandLineTerminalBackend final : public TerminalBackend {
public:
    /// `kind` must be of the command-line family.
    CommandLineTerminalBackend(TerminalKind kind, TerminalArgumentBuilder builder,
                               std::unique_ptr<ProgramLauncher> launcher);
    /// Waits until every submitted run has completed. Must not be called from a completion.
    ~CommandLineTerminalBackend() override = default;

    TerminalKind kind() const override { return m_kind; }

    /// A behaviour the program cannot do runs as the nearest one it can (`ChosenTerminalBackend`
    /// says so in the log). Text that no program gets unchanged is refused before anything
    /// starts.
    void run(const ShellCommand& command, OpenBehavior openIn, Completion completion) override;

    /// The German error for an answer other than `started`, with what the user can do.
    static TerminalExecutionError errorFor(const TerminalProgram& program,
                                           const ProgramAnswer& answer);

private:
    TerminalKind m_kind;
    TerminalArgumentBuilder m_builder;
    std::unique_ptr<ProgramLauncher> m_launcher;
    // Last, so the worker has finished before the launcher goes away.
    SerialWorker m_queue;
};

} // namespace kelvane

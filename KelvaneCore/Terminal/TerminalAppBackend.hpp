#pragma once

#include "KelvaneCore/Terminal/ScriptEngine.hpp"
#include "KelvaneCore/Terminal/SerialWorker.hpp"
#include "KelvaneCore/Terminal/TerminalAppScriptBuilder.hpp"
#include "KelvaneCore/Terminal/TerminalBackend.hpp"

#include <functional>
#include <memory>
#include <string_view>

namespace kelvane {

/// Runs commands in Terminal.app, or in iTerm2, through AppleScript. Scripts run one at a time, in
/// the order submitted, on the backend's own worker thread; completions are called there too.
class TerminalAppBackend final : public TerminalBackend {
public:
    /// Receives the backend's notices (category "terminal"); called on the worker thread.
    using NoticeLog = std::function<void(std::string_view message)>;

    /// `kind` is the program the scripts are for: iTerm2 gets its own, any other kind those of
    /// Terminal.app (which the Linux stand-in reads for the desktop's default terminal).
    TerminalAppBackend(TerminalAppScriptBuilder builder, std::unique_ptr<ScriptEngine> engine,
                       NoticeLog logNotice = {}, TerminalKind kind = TerminalKind::terminalApp);
    /// Waits until every submitted run has completed. Must not be called from a completion.
    ~TerminalAppBackend() override = default;

    TerminalKind kind() const override { return m_kind; }

    const TerminalAppScriptBuilder& builder() const { return m_builder; }
    /// The script that runs `command` in this backend's program as `openIn` asks.
    std::string script(const ShellCommand& command, OpenBehavior openIn) const;

    /// Refuses a command whose text holds a NUL character or invalid UTF-8 before any script
    /// runs. A tab that fails for lack of the Accessibility permission is opened as a new window
    /// instead, and the run still completes with `AccessibilityPermissionRequired`.
    void run(const ShellCommand& command, OpenBehavior openIn, Completion completion) override;

private:
    void execute(std::string source, Completion completion);
    void fallBackToWindow(const ShellCommand& command, Completion completion);

    TerminalKind m_kind;
    TerminalAppScriptBuilder m_builder;
    std::unique_ptr<ScriptEngine> m_engine;
    NoticeLog m_logNotice;
    // Last, so the worker has finished before the engine goes away.
    SerialWorker m_queue;
};

} // namespace kelvane

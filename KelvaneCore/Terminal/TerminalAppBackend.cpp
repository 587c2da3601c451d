#include "KelvaneCore/Terminal/TerminalAppBackend.hpp"

#include "KelvaneCore/Terminal/ITermScript.hpp"
#include "KelvaneCore/Terminal/UnsafeCommandText.hpp"

namespace kelvane {

namespace {

std::optional<TerminalExecutionError> runScript(ScriptEngine& engine, const std::string& source) {
    try {
        const std::optional<ScriptError> error = engine.execute(source);
        if (!error)
            return std::nullopt;
        return TerminalExecutionError::fromScriptError(*error);
    } catch (const std::exception& exception) {
        return TerminalExecutionError(TerminalExecutionError::ScriptFailed{-1, exception.what()});
    } catch (...) {
        return TerminalExecutionError(
            TerminalExecutionError::ScriptFailed{-1, "Unbekannter Fehler"});
    }
}

bool needsAccessibility(const std::optional<TerminalExecutionError>& error) {
    return error && std::holds_alternative<TerminalExecutionError::AccessibilityPermissionRequired>(
                        error->errorCase());
}

} // namespace

TerminalAppBackend::TerminalAppBackend(TerminalAppScriptBuilder builder,
                                       std::unique_ptr<ScriptEngine> engine, NoticeLog logNotice,
                                       TerminalKind kind)
    : m_kind(kind), m_builder(std::move(builder)), m_engine(std::move(engine)),
      m_logNotice(std::move(logNotice)) {}

std::string TerminalAppBackend::script(const ShellCommand& command, OpenBehavior openIn) const {
    if (m_kind == TerminalKind::iTerm2)
        return iTermScript(m_builder, command, openIn);
    return m_builder.script(command, openIn);
}

void TerminalAppBackend::run(const ShellCommand& command, OpenBehavior openIn,
                             Completion completion) {
    if (auto refused = unsafeCommandText(command, m_builder.commandLine(command))) {
        // Answered in turn on the worker like every other run, never from inside this call.
        m_queue.submit([refused = std::move(*refused), completion = std::move(completion)] {
            completion(refused);
        });
        return;
    }
    execute(script(command, openIn), [this, command, openIn, completion = std::move(completion)](
                                         std::optional<TerminalExecutionError> error) {
        if (openIn == OpenBehavior::tab && needsAccessibility(error))
            fallBackToWindow(command, completion);
        else
            completion(std::move(error));
    });
}

void TerminalAppBackend::execute(std::string source, Completion completion) {
    m_queue.submit([this, source = std::move(source), completion = std::move(completion)] {
        completion(runScript(*m_engine, source));
    });
}

void TerminalAppBackend::fallBackToWindow(const ShellCommand& command, Completion completion) {
    if (m_logNotice)
        m_logNotice("Accessibility fehlt \u2014 weiche auf neues Fenster aus.");
    // The command now runs in a window, but the caller still learns that no tab was opened.
    execute(script(command, OpenBehavior::window),
            [completion = std::move(completion)](std::optional<TerminalExecutionError> error) {
                completion(error ? std::move(error)
                                 : TerminalExecutionError(
                                       TerminalExecutionError::AccessibilityPermissionRequired{}));
            });
}

} // namespace kelvane

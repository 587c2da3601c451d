#include "KelvaneCore/Terminal/TerminalAppBackend.hpp"

#include "KelvaneCore/Unicode/UnicodeText.hpp"

namespace kelvane {

namespace {

using Unsafe = TerminalExecutionError::UnsafeCommandText;

std::optional<Unsafe::Defect> defectIn(std::string_view text) {
    // A NUL ends the text early wherever it crosses into C strings, and neither it nor broken
    // UTF-8 survives the way into Terminal unchanged: the user would run something else.
    if (text.find('\0') != std::string_view::npos)
        return Unsafe::Defect::nulCharacter;
    if (Unicode::firstInvalidUTF8Offset(text))
        return Unsafe::Defect::invalidUTF8;
    return std::nullopt;
}

std::optional<TerminalExecutionError> refusal(const ShellCommand& command,
                                              std::string_view commandLine) {
    if (const auto defect = defectIn(command.command))
        return TerminalExecutionError(Unsafe{Unsafe::Part::command, *defect});
    // Whatever else the line holds is the directory it changes into.
    if (const auto defect = defectIn(commandLine))
        return TerminalExecutionError(Unsafe{Unsafe::Part::workingDirectory, *defect});
    return std::nullopt;
}

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
                                       std::unique_ptr<ScriptEngine> engine, NoticeLog logNotice)
    : m_builder(std::move(builder)), m_engine(std::move(engine)),
      m_logNotice(std::move(logNotice)) {}

void TerminalAppBackend::run(const ShellCommand& command, OpenBehavior openIn,
                             Completion completion) {
    if (auto refused = refusal(command, m_builder.commandLine(command))) {
        // Answered in turn on the worker like every other run, never from inside this call.
        m_queue.submit([refused = std::move(*refused), completion = std::move(completion)] {
            completion(refused);
        });
        return;
    }
    execute(m_builder.script(command, openIn),
            [this, command, openIn,
             completion = std::move(completion)](std::optional<TerminalExecutionError> error) {
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
    execute(m_builder.script(command, OpenBehavior::window),
            [completion = std::move(completion)](std::optional<TerminalExecutionError> error) {
                completion(error ? std::move(error)
                                 : TerminalExecutionError(
                                       TerminalExecutionError::AccessibilityPermissionRequired{}));
            });
}

} // namespace kelvane

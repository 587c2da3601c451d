#include "KelvaneCore/Terminal/CommandLineTerminalBackend.hpp"

#include "KelvaneCore/Terminal/UnsafeCommandText.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

namespace kelvane {
namespace {

using Refused = TerminalExecutionError::ProgramRefused;

const std::string orNewWindow =
    " \u2014 oder stelle in den Einstellungen auf \u201ENeues Fenster\u201C um.";

bool mentions(std::string_view output, std::string_view phrase) {
    return Unicode::lowercased(output).find(phrase) != std::string::npos;
}

std::string firstLine(std::string_view text) {
    const std::string_view trimmed = Unicode::trimmed(text);
    return std::string(trimmed.substr(0, trimmed.find('\n')));
}

} // namespace

CommandLineTerminalBackend::CommandLineTerminalBackend(TerminalKind kind,
                                                       TerminalArgumentBuilder builder,
                                                       std::unique_ptr<ProgramLauncher> launcher)
    : m_kind(kind), m_builder(std::move(builder)), m_launcher(std::move(launcher)) {}

void CommandLineTerminalBackend::run(const ShellCommand& command, OpenBehavior openIn,
                                     Completion completion) {
    const TerminalProgram& program = terminalProgram(m_kind);
    if (auto refused = unsafeCommandText(command, m_builder.lines.commandLine(command))) {
        // Answered in turn on the worker like every other run, never from inside this call.
        m_queue.submit([refused = std::move(*refused), completion = std::move(completion)] {
            completion(refused);
        });
        return;
    }
    const OpenBehavior used = program.nearestBehavior(openIn);
    m_queue.submit([this, &program, launch = m_builder.launch(m_kind, command, used),
                    completion = std::move(completion)] {
        ProgramAnswer answer;
        try {
            answer = m_launcher->launch(launch);
        } catch (const std::exception& exception) {
            answer = {ProgramAnswer::Outcome::notStarted, 0, exception.what()};
        }
        if (answer.outcome == ProgramAnswer::Outcome::started)
            completion(std::nullopt);
        else
            completion(errorFor(program, answer));
    });
}

TerminalExecutionError CommandLineTerminalBackend::errorFor(const TerminalProgram& program,
                                                            const ProgramAnswer& answer) {
    const std::string name = germanQuoted(program.name);
    switch (answer.outcome) {
    case ProgramAnswer::Outcome::notFound:
        return TerminalExecutionError(
            Refused{name + " ist nicht installiert.",
                    "Installiere es (das Programm " + germanQuoted(program.executable) +
                        " fehlt im Suchpfad) oder w\u00E4hle mit \u201Eterminal\u201C in der "
                        "Konfigurationsdatei ein anderes Terminal."});
    case ProgramAnswer::Outcome::notStarted:
        return TerminalExecutionError(
            Refused{name + " konnte nicht gestartet werden: " + answer.message,
                    "Pr\u00FCfe die Installation oder w\u00E4hle ein anderes Terminal."});
    case ProgramAnswer::Outcome::started:
    case ProgramAnswer::Outcome::failed:
        break;
    }
    if (program.kind == TerminalKind::tmux && (mentions(answer.message, "no server running") ||
                                               mentions(answer.message, "error connecting")))
        return TerminalExecutionError(Refused{
            "Es l\u00E4uft kein tmux-Server.",
            "Starte tmux in einem Terminal (zum Beispiel mit \u201Etmux new-session\u201C)" +
                orNewWindow});
    if (program.kind == TerminalKind::kitty)
        return TerminalExecutionError(Refused{
            "kitty nimmt keine Fernsteuerung an.",
            "Schalte sie in \u201Ekitty.conf\u201C mit \u201Eallow_remote_control yes\u201C und "
            "\u201Elisten_on\u201C ein und starte kitty neu" +
                orNewWindow});
    if (program.kind == TerminalKind::wezterm)
        return TerminalExecutionError(
            Refused{"WezTerm nimmt keine Befehle an.",
                    "Starte WezTerm, damit \u201Ewezterm cli\u201C es erreicht" + orNewWindow});
    std::string description =
        name + " meldete einen Fehler (" + std::to_string(answer.exitStatus) + ")";
    if (const std::string reason = firstLine(answer.message); !reason.empty())
        description += ": " + reason;
    return TerminalExecutionError(Refused{
        description, "Pr\u00FCfe, ob " + name + " l\u00E4uft und Befehle annimmt" + orNewWindow});
}

} // namespace kelvane

#include "Kelvane/platform/TerminalPrograms.hpp"

#include "Kelvane/platform/ProgramProcess.hpp"
#include "Kelvane/platform/ScriptEngineFactory.hpp"
#include "KelvaneCore/Terminal/ChosenTerminalBackend.hpp"
#include "KelvaneCore/Terminal/CommandLineTerminalBackend.hpp"
#include "KelvaneCore/Terminal/TerminalAppBackend.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

#include <QDir>

#include <cstdlib>

namespace kelvane::TerminalPrograms {
namespace {

using NoticeLog = std::function<void(std::string_view)>;

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A desktop program started from the menu gets a short PATH on macOS; the usual places of
// terminal programs are searched after it.
std::string searchPath() {
    std::string path = environmentValue("PATH");
    if (platform() == TerminalPlatform::macOS)
        path += ":/opt/homebrew/bin:/usr/local/bin:/Applications/WezTerm.app/Contents/MacOS:"
                "/Applications/kitty.app/Contents/MacOS";
    return path;
}

std::string userShell() {
    const std::string shell = environmentValue("SHELL");
    return shell.starts_with('/') ? shell : "/bin/sh";
}

std::string home() {
    return QDir::homePath().toStdString();
}

std::unique_ptr<TerminalBackend> backendFor(TerminalKind kind, const NoticeLog& logNotice) {
    // Terminal.app and iTerm2 take AppleScript; on Linux the desktop's default is driven by the
    // stand-in that reads Terminal.app's scripts.
    if (kind == TerminalKind::terminalApp || kind == TerminalKind::iTerm2 ||
        kind == TerminalKind::desktopDefault)
        return std::make_unique<TerminalAppBackend>(TerminalAppScriptBuilder(home()),
                                                    makeScriptEngine(), logNotice, kind);
    TerminalArgumentBuilder builder{TerminalAppScriptBuilder(home()), userShell(),
                                    desktopTerminal().value_or("x-terminal-emulator"), platform()};
    return std::make_unique<CommandLineTerminalBackend>(
        kind, std::move(builder), std::make_unique<ProcessProgramLauncher>(searchPath(), home()));
}

} // namespace

std::vector<TerminalKind> installed() {
    const std::string path = searchPath();
    std::vector<TerminalKind> found;
    for (const TerminalKind kind : allTerminalKinds) {
        const TerminalProgram& program = terminalProgram(kind);
        if (!program.existsOn(platform()))
            continue;
        // The system's own terminal is there, or explains itself when a command runs.
        const bool own = terminalKindUsedOn(platform(), TerminalKind::terminalApp) == kind;
        if (own || (program.kind == TerminalKind::iTerm2
                        ? QDir("/Applications/iTerm.app").exists()
                        : ProgramProcess::find(std::string(program.executable), path).has_value()))
            found.push_back(kind);
    }
    return found;
}

std::string usedName(TerminalKind chosen) {
    const TerminalKind used = terminalKindUsedOn(platform(), chosen);
    std::string name(terminalProgram(used).name);
    if (used == TerminalKind::desktopDefault)
        name += " " + germanQuoted(terminalProgramName());
    return name;
}

std::string description(TerminalKind chosen) {
    const TerminalKind used = terminalKindUsedOn(platform(), chosen);
    std::string text;
    if (used != chosen)
        text = std::string(terminalProgram(chosen).name) +
               " gibt es auf diesem System nicht; Kelvane verwendet " + usedName(chosen) + ". ";
    return text + terminalProgram(used).behaviourSummary();
}

std::unique_ptr<TerminalBackend> makeBackend(std::function<TerminalKind()> choice,
                                             std::function<void(std::string_view)> logNotice) {
    return std::make_unique<ChosenTerminalBackend>(
        platform(), std::move(choice),
        [logNotice](TerminalKind kind) { return backendFor(kind, logNotice); }, logNotice);
}

} // namespace kelvane::TerminalPrograms

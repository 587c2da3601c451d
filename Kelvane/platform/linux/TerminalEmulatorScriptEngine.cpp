#include "Kelvane/platform/linux/TerminalEmulatorScriptEngine.hpp"

#include "Kelvane/platform/PlatformWords.hpp"
#include "Kelvane/platform/ScriptEngineFactory.hpp"
#include "Kelvane/platform/TerminalPrograms.hpp"
#include "Kelvane/platform/linux/TerminalScriptReader.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"
#include "KelvaneCore/Text/Joining.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <filesystem>

namespace kelvane {
namespace {

// Names what was looked for and how to choose, since the user has to install or pick one.
std::string noTerminalAdvice(const TerminalEnvironment& environment) {
    std::vector<std::string> names;
    for (const std::string& program : TerminalEmulator::candidates(environment))
        names.push_back(germanQuoted(program));
    if (environment.terminal)
        names.front() += " (aus $TERMINAL)";
    const std::string last = names.back();
    names.pop_back();
    return "Gesucht wurden " + joined(names, ", ") + " und " + last +
           " \u2014 keines davon ist im PATH zu finden. Installiere eines, oder w\u00E4hle "
           "mit der Umgebungsvariablen $TERMINAL ein anderes Terminalprogramm, zum Beispiel "
           "TERMINAL=alacritty.";
}

} // namespace

TerminalEmulatorScriptEngine::TerminalEmulatorScriptEngine(TerminalEnvironment environment,
                                                           Launcher launch)
    : m_environment(std::move(environment)), m_launch(std::move(launch)) {}

std::optional<ScriptError> TerminalEmulatorScriptEngine::execute(const std::string& source) {
    if (Unicode::firstInvalidUTF8Offset(source))
        return ScriptError::notCreated();
    auto read = TerminalScriptReader::commandLines(source);
    if (const auto* error = std::get_if<ScriptError>(&read))
        return *error;
    for (const std::string& commandLine : std::get<std::vector<std::string>>(read)) {
        const auto emulator = TerminalEmulator::find(m_environment);
        if (!emulator)
            return ScriptError{-10814, "Kein Terminalprogramm gefunden.",
                               noTerminalAdvice(m_environment),
                               std::string(platformWords().terminalThatDidNotStart)};
        if (auto error =
                m_launch(TerminalEmulator::arguments(*emulator, m_environment, commandLine),
                         m_environment.home))
            return error;
    }
    return std::nullopt;
}

std::unique_ptr<ScriptEngine> makeScriptEngine() {
    return std::make_unique<TerminalEmulatorScriptEngine>(TerminalEnvironment::fromProcess());
}

std::optional<std::string> desktopTerminal() {
    return TerminalEmulator::find(TerminalEnvironment::fromProcess());
}

TerminalPlatform TerminalPrograms::platform() {
    return TerminalPlatform::linux;
}

std::string terminalProgramName() {
    const auto emulator = TerminalEmulator::find(TerminalEnvironment::fromProcess());
    if (!emulator)
        return "Keines gefunden";
    // x-terminal-emulator is only the desktop's link to the program it chose, which Debian may
    // start through a script named after it ("gnome-terminal.wrapper").
    std::error_code error;
    const std::filesystem::path program = std::filesystem::canonical(*emulator, error);
    std::string name = (error ? std::filesystem::path(*emulator) : program).filename().string();
    if (name.ends_with(".wrapper"))
        name.resize(name.size() - std::string_view(".wrapper").size());
    return name;
}

} // namespace kelvane

#include "Kelvane/platform/linux/TerminalEmulator.hpp"

#include "Kelvane/platform/ProgramProcess.hpp"
#include "KelvaneCore/Terminal/TerminalArguments.hpp"

#include <cstdlib>
#include <system_error>

namespace kelvane {

namespace {

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return value;
}

ScriptError launchFailure(const std::string& program, int error) {
    // kLSUnknownErr: the program was found but could not be launched.
    return {-10810, "\u201E" + program + "\u201C konnte nicht gestartet werden: " +
                        std::generic_category().message(error)};
}

} // namespace

TerminalEnvironment TerminalEnvironment::fromProcess() {
    return {variable("TERMINAL"), variable("PATH").value_or(""), variable("SHELL"),
            variable("HOME")};
}

namespace TerminalEmulator {

std::vector<std::string> candidates(const TerminalEnvironment& environment) {
    std::vector<std::string> names;
    if (environment.terminal)
        names.push_back(*environment.terminal);
    for (const char* program :
         {"x-terminal-emulator", "gnome-terminal", "konsole", "xfce4-terminal", "xterm"})
        names.emplace_back(program);
    return names;
}

std::optional<std::string> find(const TerminalEnvironment& environment) {
    for (const std::string& program : candidates(environment)) {
        if (auto found = ProgramProcess::find(program, environment.path))
            return found;
    }
    return std::nullopt;
}

std::vector<std::string> arguments(const std::string& emulator,
                                   const TerminalEnvironment& environment,
                                   const std::string& commandLine) {
    std::vector<std::string> arguments{emulator, TerminalArgumentBuilder::executeOption(emulator)};
    for (std::string& argument :
         TerminalArgumentBuilder::keptOpen(environment.shell.value_or("/bin/sh"), commandLine))
        arguments.push_back(std::move(argument));
    return arguments;
}

std::optional<ScriptError> launchDetached(std::vector<std::string> arguments,
                                          const std::optional<std::string>& workingDirectory) {
    const std::string program = arguments.at(0);
    if (const auto error = ProgramProcess::startDetached(std::move(arguments), workingDirectory))
        return launchFailure(program, *error);
    return std::nullopt;
}

} // namespace TerminalEmulator

} // namespace kelvane

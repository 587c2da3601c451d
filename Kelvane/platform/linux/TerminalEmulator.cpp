#include "Kelvane/platform/linux/TerminalEmulator.hpp"

#include "KelvaneCore/Terminal/ShellQuoting.hpp"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace kelvane {

namespace {

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return value;
}

bool isExecutableFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> lookUp(const std::string& program, std::string_view searchPath) {
    if (program.find('/') != std::string::npos)
        return isExecutableFile(program) ? std::optional(program) : std::nullopt;
    while (!searchPath.empty()) {
        const auto colon = searchPath.find(':');
        const std::string_view directory = searchPath.substr(0, colon);
        searchPath = colon == std::string_view::npos ? "" : searchPath.substr(colon + 1);
        // An empty entry would mean the current directory, which is no place to trust.
        if (directory.empty())
            continue;
        std::string candidate = std::string(directory) + '/' + program;
        if (isExecutableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

/// How each emulator is told to run a program with arguments instead of a shell.
std::string executeOption(std::string_view emulator) {
    const std::string_view name = emulator.substr(emulator.rfind('/') + 1);
    if (name == "gnome-terminal")
        return "--";
    if (name == "xfce4-terminal")
        return "-x";
    return "-e";
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
        if (auto found = lookUp(program, environment.path))
            return found;
    }
    return std::nullopt;
}

std::vector<std::string> arguments(const std::string& emulator,
                                   const TerminalEnvironment& environment,
                                   const std::string& commandLine) {
    const std::string shell = environment.shell.value_or("/bin/sh");
    // A line feed, not a semicolon, so that a trailing comment in the command cannot swallow
    // the shell that keeps the window open.
    return {emulator, executeOption(emulator), shell, "-c",
            commandLine + "\nexec " + ShellQuoting::singleQuoted(shell)};
}

std::optional<ScriptError> launchDetached(std::vector<std::string> arguments,
                                          const std::optional<std::string>& workingDirectory) {
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const char* directory = workingDirectory ? workingDirectory->c_str() : nullptr;

    // The grandchild reports a failed exec through this pipe; a successful exec closes it.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return launchFailure(arguments[0], errno);
    const pid_t child = fork();
    if (child == 0) {
        // Only async-signal-safe calls past fork: other threads may have held any lock. The
        // grandchild is orphaned at once, so it is nobody's zombie and outlives this process.
        setsid();
        const pid_t grandchild = fork();
        if (grandchild > 0)
            _exit(0);
        if (grandchild == 0) {
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            // Starting elsewhere beats not starting at all.
            if (directory) {
                [[maybe_unused]] const int moved = chdir(directory);
            }
            execv(argv[0], argv.data());
        }
        const int error = errno;
        [[maybe_unused]] const ssize_t written = write(report[1], &error, sizeof error);
        _exit(127);
    }
    const int forkError = errno;
    close(report[1]);
    if (child < 0) {
        close(report[0]);
        return launchFailure(arguments[0], forkError);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t received = 0;
    while ((received = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    if (received == sizeof error)
        return launchFailure(arguments[0], error);
    return std::nullopt;
}

} // namespace TerminalEmulator

} // namespace kelvane

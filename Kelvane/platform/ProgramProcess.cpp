#include "Kelvane/platform/ProgramProcess.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace kelvane {
namespace {

bool isExecutableFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

bool closingPipe(int ends[2]) {
    if (pipe(ends) != 0)
        return false;
    fcntl(ends[0], F_SETFD, FD_CLOEXEC);
    fcntl(ends[1], F_SETFD, FD_CLOEXEC);
    return true;
}

std::vector<char*> argumentVector(std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return argv;
}

// Past fork only async-signal-safe calls: other threads may have held any lock.
void resetSignalMask() {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

void enter(const char* directory) {
    // Starting elsewhere beats not starting at all.
    if (directory) {
        [[maybe_unused]] const int moved = chdir(directory);
    }
}

// In a child: becomes the program, or reports why not through `report` and ends.
[[noreturn]] void execute(std::vector<char*>& argv, const char* directory, int report) {
    resetSignalMask();
    enter(directory);
    execv(argv[0], argv.data());
    const int error = errno;
    [[maybe_unused]] const ssize_t written = write(report, &error, sizeof error);
    _exit(127);
}

// The error number a child reported, once its end of `report` is closed (by exec or exit).
std::optional<int> reportedError(int report) {
    int error = 0;
    ssize_t received = 0;
    while ((received = read(report, &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report);
    if (received == sizeof error)
        return error;
    return std::nullopt;
}

void waitFor(pid_t child, int& status) {
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

namespace ProgramProcess {

std::optional<std::string> find(const std::string& program, std::string_view searchPath) {
    if (program.find('/') != std::string::npos)
        return isExecutableFile(program) ? std::optional(program) : std::nullopt;
    while (!searchPath.empty()) {
        const auto colon = searchPath.find(':');
        const std::string_view directory = searchPath.substr(0, colon);
        searchPath = colon == std::string_view::npos ? "" : searchPath.substr(colon + 1);
        if (directory.empty())
            continue;
        std::string candidate = std::string(directory) + '/' + program;
        if (isExecutableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::optional<int> startDetached(std::vector<std::string> arguments,
                                 const std::optional<std::string>& workingDirectory) {
    std::vector<char*> argv = argumentVector(arguments);
    const char* directory = workingDirectory ? workingDirectory->c_str() : nullptr;
    // The grandchild reports a failed exec through this pipe; a successful exec closes it.
    int report[2];
    if (!closingPipe(report))
        return errno;
    const pid_t child = fork();
    if (child == 0) {
        // The grandchild is orphaned at once, so it is nobody's zombie and outlives this process.
        setsid();
        const pid_t grandchild = fork();
        if (grandchild > 0)
            _exit(0);
        if (grandchild == 0)
            execute(argv, directory, report[1]);
        const int error = errno;
        [[maybe_unused]] const ssize_t written = write(report[1], &error, sizeof error);
        _exit(127);
    }
    const int forkError = errno;
    close(report[1]);
    if (child < 0) {
        close(report[0]);
        return forkError;
    }
    int status = 0;
    waitFor(child, status);
    return reportedError(report[0]);
}

ProgramAnswer runToEnd(std::vector<std::string> arguments,
                       const std::optional<std::string>& workingDirectory,
                       std::chrono::milliseconds limit) {
    using Outcome = ProgramAnswer::Outcome;
    std::vector<char*> argv = argumentVector(arguments);
    const char* directory = workingDirectory ? workingDirectory->c_str() : nullptr;
    // As in `startDetached`: a failed exec reports its error number through `report`.
    int errors[2];
    int report[2];
    if (!closingPipe(errors))
        return {Outcome::notStarted, 0, std::generic_category().message(errno)};
    if (!closingPipe(report)) {
        const int error = errno;
        close(errors[0]);
        close(errors[1]);
        return {Outcome::notStarted, 0, std::generic_category().message(error)};
    }
    const int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t child = fork();
    if (child == 0) {
        if (nothing >= 0) {
            dup2(nothing, STDIN_FILENO);
            dup2(nothing, STDOUT_FILENO);
        }
        dup2(errors[1], STDERR_FILENO);
        execute(argv, directory, report[1]);
    }
    const int forkError = errno;
    if (nothing >= 0)
        close(nothing);
    close(errors[1]);
    close(report[1]);
    if (child < 0) {
        close(errors[0]);
        close(report[0]);
        return {Outcome::notStarted, 0, std::generic_category().message(forkError)};
    }
    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool late = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            late = true;
            break;
        }
        pollfd wait{errors[0], POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            late = ready == 0;
            break;
        }
        char buffer[4096];
        const ssize_t received = read(errors[0], buffer, sizeof buffer);
        if (received < 0 && errno == EINTR)
            continue;
        if (received <= 0)
            break;
        // Enough to say what went wrong; the rest is drained and dropped.
        if (output.size() < 16 * 1024)
            output.append(buffer, static_cast<std::size_t>(received));
    }
    close(errors[0]);
    if (late)
        kill(child, SIGKILL);
    int status = 0;
    waitFor(child, status);
    if (const auto error = reportedError(report[0]))
        return {Outcome::notStarted, 0, std::generic_category().message(*error)};
    if (late)
        return {Outcome::failed, -1, "keine Antwort"};
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (exitStatus == 0)
        return {};
    return {Outcome::failed, exitStatus, output};
}

} // namespace ProgramProcess

ProcessProgramLauncher::ProcessProgramLauncher(std::string searchPath,
                                               std::optional<std::string> workingDirectory)
    : m_searchPath(std::move(searchPath)), m_workingDirectory(std::move(workingDirectory)) {}

ProgramAnswer ProcessProgramLauncher::launch(const TerminalLaunch& launch) {
    std::vector<std::string> arguments = launch.arguments;
    const auto path = ProgramProcess::find(arguments.at(0), m_searchPath);
    if (!path)
        return {ProgramAnswer::Outcome::notFound, 0, {}};
    arguments[0] = *path;
    if (launch.awaitsAnswer)
        return ProgramProcess::runToEnd(std::move(arguments), m_workingDirectory,
                                        std::chrono::seconds(10));
    if (const auto error = ProgramProcess::startDetached(std::move(arguments), m_workingDirectory))
        return {ProgramAnswer::Outcome::notStarted, 0, std::generic_category().message(*error)};
    return {};
}

} // namespace kelvane

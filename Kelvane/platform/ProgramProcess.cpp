#include "Kelvane/platform/ProgramProcess.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

// The environment children get; not declared by every system's headers.
extern char** environ;

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

// What a child gets besides its arguments: where it starts, where its standard streams go
// (descriptors to be its stdin, stdout and stderr, or -1 for this process's own) and whether it
// leads a session of its own.
struct ChildSetup {
    const std::optional<std::string>& workingDirectory;
    int input = -1;
    int output = -1;
    int errors = -1;
    bool ownSession = false;
};

// posix_spawn, unlike fork, copies nothing of this process's memory, so a big configuration does
// not slow every start down; and it reports a failed exec as its result. The signal mask that
// the calling thread may have narrowed is not passed on.
int spawnOnce(std::vector<std::string>& arguments, const ChildSetup& setup, bool enter,
              pid_t& child) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    const int streams[] = {setup.input, setup.output, setup.errors};
    for (int stream = 0; stream < 3; ++stream)
        if (streams[stream] >= 0)
            posix_spawn_file_actions_adddup2(&actions, streams[stream], stream);
    if (enter)
        posix_spawn_file_actions_addchdir_np(&actions, setup.workingDirectory->c_str());
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(
        &attributes,
        static_cast<short>(POSIX_SPAWN_SETSIGMASK | (setup.ownSession ? POSIX_SPAWN_SETSID : 0)));
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int error = posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error;
}

// The error number when `arguments[0]` could not be started.
std::optional<int> spawn(std::vector<std::string>& arguments, const ChildSetup& setup,
                         pid_t& child) {
    int error = spawnOnce(arguments, setup, setup.workingDirectory.has_value(), child);
    // Starting elsewhere beats not starting at all.
    if (error != 0 && setup.workingDirectory)
        error = spawnOnce(arguments, setup, false, child);
    return error == 0 ? std::nullopt : std::optional(error);
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
    pid_t child = 0;
    if (const auto error = spawn(arguments, {workingDirectory, -1, -1, -1, true}, child))
        return error;
    // Reaped whenever it ends, so that it never lingers as a zombie; if this process ends first,
    // the child lives on. Without a thread to spare it lingers, but it did start.
    try {
        std::thread([child] {
            int status = 0;
            waitFor(child, status);
        }).detach();
    } catch (const std::system_error&) {
    }
    return std::nullopt;
}

ProgramAnswer runToEnd(std::vector<std::string> arguments,
                       const std::optional<std::string>& workingDirectory,
                       std::chrono::milliseconds limit) {
    using Outcome = ProgramAnswer::Outcome;
    int errors[2];
    if (!closingPipe(errors))
        return {Outcome::notStarted, 0, std::generic_category().message(errno)};
    const int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
    pid_t child = 0;
    const auto spawnError =
        spawn(arguments, {workingDirectory, nothing, nothing, errors[1]}, child);
    if (nothing >= 0)
        close(nothing);
    close(errors[1]);
    if (spawnError) {
        close(errors[0]);
        return {Outcome::notStarted, 0, std::generic_category().message(*spawnError)};
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

#include "Kelvane/platform/ProgramProcess.hpp"

#include "support/NulSeparated.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace kelvane {
namespace {

using K = TerminalKind;
using B = OpenBehavior;

using test::contentOf;
using test::splitAtNul;

TerminalArgumentBuilder builder(TerminalPlatform platform = TerminalPlatform::linux) {
    return {TerminalAppScriptBuilder("/home/a"), "/bin/sh", "x-terminal-emulator", platform};
}

TEST(TerminalArguments, eachProgramGetsTheLineAsOneArgumentAfterItsOwnOptions) {
    const ShellCommand command(Uuid::random(), "Logs", "ls", {}, {}, {}, {});
    const std::vector<std::string> run{"/bin/sh", "-c", "ls\nexec '/bin/sh'"};
    const auto with = [&](std::vector<std::string> front) {
        front.insert(front.end(), run.begin(), run.end());
        return front;
    };
    const struct {
        K kind;
        B openIn;
        TerminalPlatform platform;
        TerminalLaunch launch;
    } cases[] = {
        {K::xterm, B::window, TerminalPlatform::linux, {with({"xterm", "-T", "Logs", "-e"})}},
        {K::gnomeTerminal,
         B::window,
         TerminalPlatform::linux,
         {with({"gnome-terminal", "--window", "--title=Logs", "--"})}},
        {K::xfce4Terminal,
         B::tab,
         TerminalPlatform::linux,
         {with({"xfce4-terminal", "--tab", "--title=Logs", "-x"})}},
        {K::xfce4Terminal,
         B::window,
         TerminalPlatform::linux,
         {with({"xfce4-terminal", "--window", "--title=Logs", "-x"})}},
        {K::konsole, B::tab, TerminalPlatform::linux, {with({"konsole", "--new-tab", "-e"})}},
        {K::foot, B::window, TerminalPlatform::linux, {with({"foot", "--title=Logs", "--"})}},
        {K::kitty,
         B::tab,
         TerminalPlatform::linux,
         {with({"kitty", "@", "launch", "--type=tab", "--tab-title=Logs"}), true}},
        {K::wezterm,
         B::current,
         TerminalPlatform::macOS,
         {{"wezterm", "cli", "send-text", "--no-paste", "--", "ls\n"}, true}},
        {K::tmux,
         B::window,
         TerminalPlatform::linux,
         {with({"x-terminal-emulator", "-e", "tmux", "new-session", "-n", "Logs", "--"})}},
        {K::tmux,
         B::current,
         TerminalPlatform::linux,
         {{"tmux", "send-keys", "-l", "--", "ls\n"}, true}},
        {K::ghostty,
         B::window,
         TerminalPlatform::macOS,
         {with({"open", "-na", "Ghostty", "--args", "--title=Logs", "-e"})}},
        {K::desktopDefault,
         B::window,
         TerminalPlatform::linux,
         {with({"x-terminal-emulator", "-e"})}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(builder(c.platform).launch(c.kind, command, c.openIn), c.launch)
            << rawValue(c.kind);
}

// Every program and behaviour, with a hostile title, command and working directory: the
// vector reaches the program unchanged, and the shell reads the command line exactly once.
TEST(TerminalArguments, hostileTextReachesTheShellOnceAndUnchanged) {
    test::TemporaryFolder folder;
    const std::string directory = (folder / "-d $x 'q' \"w\" `b`").string();
    std::filesystem::create_directories(directory);
    const std::string fake =
        folder
            .write("fake",
                   "#!/bin/sh\nfor a do printf '%s\\0' \"$a\"; done > '" + folder.path().string() +
                       "/argv'\nwhile [ $# -gt 0 ]; do\n  if [ \"$1\" = -c ]; then /bin/sh -c "
                       "\"$2\" </dev/null >'" +
                       folder.path().string() + "/ran' 2>&1; exit 0; fi\n  shift\ndone\n",
                   test::executable)
            .string();
    unsetenv("KELVANE_UNSET");
    const ShellCommand command(Uuid::random(), "-T \"x\" $y `z`;#\n2",
                               "printf '<%s>' 'it'\\''s' \"a\\\"b\" `echo tick` \"$KELVANE_UNSET\" "
                               "--dash; pwd\nprintf '[%s]' done",
                               {}, {}, directory, {});
    const std::string printed = "<it's><a\"b><tick><><--dash>" + directory + "\n[done]";
    for (const TerminalPlatform platform : {TerminalPlatform::linux, TerminalPlatform::macOS}) {
        const TerminalArgumentBuilder build = builder(platform);
        const std::string line = build.lines.commandLine(command);
        for (const K kind : allTerminalKinds) {
            const TerminalProgram& program = terminalProgram(kind);
            if (program.family != TerminalFamily::commandLine || !program.existsOn(platform))
                continue;
            for (const B requested : allOpenBehaviors) {
                const std::string name =
                    std::string(rawValue(kind)) + " " + std::string(rawValue(requested));
                std::vector<std::string> arguments =
                    build.launch(kind, command, program.nearestBehavior(requested)).arguments;
                const auto holdsLine = [&](const std::string& argument) {
                    return argument.find(line) != std::string::npos;
                };
                EXPECT_EQ(std::count_if(arguments.begin(), arguments.end(), holdsLine), 1) << name;
                const bool typed = arguments.back() == line + "\n";
                arguments[0] = fake;
                if (typed) // What a running shell is given to read.
                    arguments.insert(arguments.end() - 1, "-c");
                std::filesystem::remove(folder / "ran");
                EXPECT_EQ(
                    ProgramProcess::runToEnd(arguments, std::nullopt, std::chrono::seconds(10)),
                    ProgramAnswer{})
                    << name;
                EXPECT_EQ(splitAtNul(contentOf(folder / "argv")),
                          std::vector<std::string>(arguments.begin() + 1, arguments.end()))
                    << name;
                EXPECT_EQ(contentOf(folder / "ran"), printed) << name;
            }
        }
    }
}

TEST(ProgramProcess, tellsAFailingClientFromOneThatCouldNotStartOrDoesNotAnswer) {
    test::TemporaryFolder folder;
    const std::string failing =
        folder
            .write("failing", "#!/bin/sh\necho 'no server running' >&2\nexit 3\n", test::executable)
            .string();
    const std::string broken =
        folder.write("broken", "no interpreter\n", test::executable).string();
    EXPECT_EQ(ProgramProcess::runToEnd({failing}, std::nullopt, std::chrono::seconds(10)),
              (ProgramAnswer{ProgramAnswer::Outcome::failed, 3, "no server running\n"}));
    EXPECT_EQ(ProgramProcess::runToEnd({broken}, std::nullopt, std::chrono::seconds(10)).outcome,
              ProgramAnswer::Outcome::notStarted);
    const std::string hanging =
        folder.write("hanging", "#!/bin/sh\nexec sleep 600\n", test::executable).string();
    // Out of time before the first wait, and during it.
    for (const auto limit : {std::chrono::milliseconds(0), std::chrono::milliseconds(20)})
        EXPECT_EQ(ProgramProcess::runToEnd({hanging}, std::nullopt, limit),
                  (ProgramAnswer{ProgramAnswer::Outcome::failed, -1, "keine Antwort"}))
            << limit.count();
    ProcessProgramLauncher launcher(folder.path().string(), std::nullopt);
    EXPECT_EQ(launcher.launch({{"no-such-program"}, true}).outcome,
              ProgramAnswer::Outcome::notFound);
    EXPECT_EQ(launcher.launch({{"failing"}, true}).exitStatus, 3);
}

TEST(ProgramProcess, startsADetachedProgramInItsOwnSessionAndElsewhereWhenItsFolderIsGone) {
    test::TemporaryFolder folder;
    const std::filesystem::path started = folder / "started";
    ASSERT_EQ(mkfifo(started.c_str(), 0600), 0);
    // Says where it runs and whether it leads its session (the sixth field of its stat line).
    const std::string report = folder
                                   .write("report",
                                          "#!/bin/sh\nread -r _ _ _ _ _ session _ </proc/$$/stat\n"
                                          "echo \"$(pwd) $((session == $$))\" >'" +
                                              started.string() + "'\n",
                                          test::executable)
                                   .string();
    const std::string gone = (folder / "gone").string();
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {folder.path().string(), folder.path().string()},
        {gone, std::filesystem::current_path().string()},
    };
    for (const auto& [directory, where] : cases) {
        EXPECT_EQ(ProgramProcess::startDetached({report}, directory), std::nullopt);
        EXPECT_EQ(contentOf(started), where + " 1\n") << where;
    }
}

} // namespace
} // namespace kelvane

#include "Kelvane/platform/ProgramProcess.hpp"
#include "KelvaneCore/Terminal/ChosenTerminalBackend.hpp"
#include "KelvaneCore/Terminal/CommandLineTerminalBackend.hpp"

#include "support/ScopedEnvironment.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <future>
#include <thread>

// Runs commands in real terminal programs on the display in DISPLAY: xterm, GNOME Terminal
// (which needs the session bus) and tmux (headless, on a server of its own).
namespace kelvane {
namespace {

using B = OpenBehavior;
using namespace std::chrono_literals;

// The programs run on their own; what they leave behind is all there is to wait for.
std::string awaitFile(const std::filesystem::path& path) {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (std::string text = test::contentOf(path); !text.empty() && text.back() == '\n')
            return text;
        std::this_thread::sleep_for(20ms);
    }
    return "(nothing after 60 s)";
}

std::string output(const std::string& shellCommand) {
    std::string text;
    if (FILE* pipe = popen(shellCommand.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe))
            text += buffer;
        pclose(pipe);
    }
    return text;
}

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// A window is mapped a moment after its shell has started.
int awaitWindows(const std::string& search) {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    int count = 0;
    while ((count = lineCount(output(search))) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    return count;
}

bool installed(const char* program) {
    return ProgramProcess::find(program, std::getenv("PATH") ? std::getenv("PATH") : "")
        .has_value();
}

class TerminalProgramsEndToEnd : public testing::Test {
protected:
    std::optional<TerminalExecutionError> run(TerminalKind kind, const std::string& command,
                                              B openIn) {
        TerminalArgumentBuilder builder{TerminalAppScriptBuilder(folder.path().string()), "/bin/sh",
                                        "xterm", TerminalPlatform::linux};
        ChosenTerminalBackend backend(
            TerminalPlatform::linux, [kind] { return kind; },
            [&](TerminalKind used) -> std::unique_ptr<TerminalBackend> {
                return std::make_unique<CommandLineTerminalBackend>(
                    used, builder,
                    std::make_unique<ProcessProgramLauncher>(std::getenv("PATH"), std::nullopt));
            },
            [this](std::string_view notice) { notices.emplace_back(notice); });
        std::promise<std::optional<TerminalExecutionError>> answer;
        backend.run(ShellCommand(Uuid::random(), "E2E", command, {}, {}, "~/work dir", {}), openIn,
                    [&](std::optional<TerminalExecutionError> error) { answer.set_value(error); });
        return answer.get_future().get();
    }

    std::string workDirectory() const { return (folder / "work dir").string() + "\n"; }
    std::string written(const char* name) const { return (folder / name).string(); }

    void SetUp() override {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        std::filesystem::create_directories(folder / "work dir");
    }

    test::TemporaryFolder folder;
    std::vector<std::string> notices;
};

TEST_F(TerminalProgramsEndToEnd, xtermRunsInItsDirectoryAndOpensAWindowForATab) {
    if (!installed("xterm"))
        GTEST_SKIP() << "xterm is not installed";
    EXPECT_EQ(run(TerminalKind::xterm, "pwd > ../window; exit", B::window), std::nullopt);
    EXPECT_EQ(awaitFile(written("window")), workDirectory());
    EXPECT_EQ(run(TerminalKind::xterm, "pwd > ../tab; exit", B::tab), std::nullopt);
    EXPECT_EQ(awaitFile(written("tab")), workDirectory());
    EXPECT_EQ(notices, (std::vector<std::string>{
                           *terminalProgram(TerminalKind::xterm).fallbackNotice(B::tab)}));
}

// Called from outside, "gnome-terminal --tab" opens a window of its own; so a tab is asked for
// as a window, and said so.
TEST_F(TerminalProgramsEndToEnd, gnomeTerminalOpensAWindowForEachCommand) {
    if (!installed("gnome-terminal") || !std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        GTEST_SKIP() << "needs gnome-terminal and a session bus (dbus-run-session)";
    const std::string windows = "xdotool search --onlyvisible --class gnome-terminal";
    EXPECT_EQ(run(TerminalKind::gnomeTerminal, "pwd > ../window", B::window), std::nullopt);
    EXPECT_EQ(awaitFile(written("window")), workDirectory());
    EXPECT_EQ(awaitWindows(windows), 1);
    EXPECT_EQ(run(TerminalKind::gnomeTerminal, "pwd > ../tab", B::tab), std::nullopt);
    EXPECT_EQ(awaitFile(written("tab")), workDirectory());
    EXPECT_EQ(awaitWindows(windows + " | sed 1d"), 1);
    EXPECT_EQ(notices, (std::vector<std::string>{
                           *terminalProgram(TerminalKind::gnomeTerminal).fallbackNotice(B::tab)}));
}

TEST_F(TerminalProgramsEndToEnd, tmuxOpensAWindowAndTypesIntoTheActivePane) {
    if (!installed("tmux"))
        GTEST_SKIP() << "tmux is not installed";
    // A server of its own, which the user's tmux never sees.
    const test::ScopedEnvironment socketFolder("TMUX_TMPDIR", folder.path().string());
    ::unsetenv("TMUX");
    const auto error = run(TerminalKind::tmux, "true", B::tab);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->errorDescription(), "Es l\u00E4uft kein tmux-Server.");

    ASSERT_EQ(std::system("tmux new-session -d -s e2e -x 80 -y 24 /bin/sh"), 0);
    EXPECT_EQ(run(TerminalKind::tmux, "pwd > ../tab", B::tab), std::nullopt);
    EXPECT_EQ(awaitFile(written("tab")), workDirectory());
    EXPECT_NE(output("tmux list-windows -t e2e -F '#{window_name}'").find("\nE2E\n"),
              std::string::npos);
    EXPECT_EQ(run(TerminalKind::tmux, "echo typed $((6 * 7)) > ../current", B::current),
              std::nullopt);
    EXPECT_EQ(awaitFile(written("current")), "typed 42\n");
    // Typed into the pane of the new window, the active one; no window was added.
    EXPECT_EQ(lineCount(output("tmux list-windows -t e2e")), 2);
    EXPECT_EQ(std::system("tmux kill-server"), 0);
}

} // namespace
} // namespace kelvane

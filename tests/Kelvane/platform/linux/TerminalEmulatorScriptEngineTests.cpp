#include "Kelvane/platform/linux/TerminalEmulatorScriptEngine.hpp"

#include "Kelvane/platform/FileEventSource.hpp"
#include "Kelvane/platform/PlatformWords.hpp"
#include "Kelvane/platform/ScriptEngineFactory.hpp"
#include "KelvaneCore/Terminal/TerminalAppBackend.hpp"
#include "support/NulSeparated.hpp"
#include "support/ScopedEnvironment.hpp"
#include "support/TemporaryFolder.hpp"

#include "tests/KelvaneCore/Terminal/TerminalCommandFixtures.hpp"

#include <gtest/gtest.h>

#include <poll.h>

namespace kelvane {
namespace {

using test::shellCommand;

struct Launch {
    std::vector<std::string> arguments;
    std::optional<std::string> workingDirectory;
    bool operator==(const Launch&) const = default;
};

/// An engine whose launches are recorded instead of started.
struct RecordingEngine {
    explicit RecordingEngine(TerminalEnvironment environment,
                             std::optional<ScriptError> answer = std::nullopt)
        : engine(std::move(environment),
                 [this, answer](std::vector<std::string> arguments,
                                const std::optional<std::string>& workingDirectory) {
                     launches.push_back({std::move(arguments), workingDirectory});
                     return answer;
                 }) {}

    std::vector<Launch> launches;
    TerminalEmulatorScriptEngine engine;
};

class TerminalEmulatorScriptEngineTest : public testing::Test {
protected:
    test::TemporaryFolder directory;
    std::string xterm = directory.write("bin/xterm", "#!/bin/sh\n", test::executable);
    TerminalEnvironment environment{
        {}, (directory.path() / "bin").string(), "/bin/bash", "/home/a"};
    TerminalAppScriptBuilder builder{"/home/a"};
};

TEST_F(TerminalEmulatorScriptEngineTest, namesTheProgramBehindTheDesktopsLink) {
    const std::string wrapper =
        directory.write("bin/gnome-terminal.wrapper", "#!/bin/sh\n", test::executable);
    std::filesystem::create_symlink(wrapper, directory.path() / "bin/x-terminal-emulator");
    const test::ScopedEnvironment terminal("TERMINAL",
                                           (directory.path() / "bin/x-terminal-emulator").string());
    EXPECT_EQ(terminalProgramName(), "gnome-terminal");
}

TEST_F(TerminalEmulatorScriptEngineTest, startsOneTerminalForEveryCommandTheScriptRuns) {
    const ShellCommand command = shellCommand("echo \"$HOME\" \\ 'x'\n", "~/My Dir");
    const Launch expected{
        TerminalEmulator::arguments(xterm, environment, builder.commandLine(command)), "/home/a"};
    for (OpenBehavior openIn : allOpenBehaviors) {
        RecordingEngine recording(environment);
        EXPECT_EQ(recording.engine.execute(builder.script(command, openIn)), std::nullopt);
        EXPECT_EQ(recording.launches, std::vector{expected}) << rawValue(openIn);
    }
}

TEST_F(TerminalEmulatorScriptEngineTest, runsNothingItDoesNotUnderstand) {
    struct Case {
        std::string source;
        std::optional<std::int64_t> number;
    };
    const std::string valid = builder.script(shellCommand("ls"), OpenBehavior::window);
    const Case cases[] = {
        {valid + "\nbeep", -2741},
        {"tell application \"Terminal\"\n    do script \"caf\xE9\"\nend tell", -1},
    };
    for (const Case& c : cases) {
        RecordingEngine recording(environment);
        const auto error = recording.engine.execute(c.source);
        ASSERT_TRUE(error) << c.source;
        EXPECT_EQ(error->number, c.number) << c.source;
        EXPECT_TRUE(recording.launches.empty()) << c.source;
    }
}

TEST_F(TerminalEmulatorScriptEngineTest, answersLikeAMissingApplicationOrPassesOnAFailedLaunch) {
    const std::string script = builder.script(shellCommand("ls"), OpenBehavior::tab);
    const ScriptError failure{-10810, "kaputt"};
    RecordingEngine failing(environment, failure);
    EXPECT_EQ(failing.engine.execute(script), failure);
    EXPECT_EQ(failing.launches.size(), 1u);

    environment.path = "/no/such/dir";
    const std::string others = "\u201Ex-terminal-emulator\u201C, \u201Egnome-terminal\u201C, "
                               "\u201Ekonsole\u201C, \u201Exfce4-terminal\u201C und "
                               "\u201Exterm\u201C \u2014 keines davon ist im PATH zu finden. "
                               "Installiere eines, oder w\u00E4hle mit der Umgebungsvariablen "
                               "$TERMINAL ein anderes Terminalprogramm, zum Beispiel "
                               "TERMINAL=alacritty.";
    for (const auto& [terminal, advice] :
         {std::pair<std::optional<std::string>, std::string>{std::nullopt,
                                                             "Gesucht wurden " + others},
          {"kitty", "Gesucht wurden \u201Ekitty\u201C (aus $TERMINAL), " + others}}) {
        environment.terminal = terminal;
        RecordingEngine recording(environment);
        const auto error = recording.engine.execute(script);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number, -10814);
        EXPECT_TRUE(recording.launches.empty());
        const auto classified = TerminalExecutionError::fromScriptError(*error);
        EXPECT_EQ(classified, TerminalExecutionError(TerminalExecutionError::TerminalUnavailable{
                                  advice, std::string(platformWords().terminalThatDidNotStart)}));
        EXPECT_EQ(classified.recoverySuggestion(), advice);
    }
}

/// Waits until a file called `name` is moved into `folder`. The timeout is only a safety net.
bool waitForArrival(const std::filesystem::path& folder, const std::string& name) {
    const auto entries = makeFileEventSource(folder, FileEventSource::write);
    for (int second = 0; second < 60 && entries && !std::filesystem::exists(folder / name);
         ++second) {
        pollfd ready{entries->descriptor(), POLLIN, 0};
        if (poll(&ready, 1, 1000) > 0)
            entries->takeEvents();
    }
    return std::filesystem::exists(folder / name);
}

TEST_F(TerminalEmulatorScriptEngineTest, theCommandRunsInAStartedTerminal) {
    // A stand-in terminal: it records where and how it was started, runs the program it was
    // given without a keyboard, so that the shell meant to stay open ends at once, and says
    // when it is done, so that nothing is left running in the folder when the test ends.
    environment.terminal = directory.write(
        "fake-terminal",
        "#!/bin/sh\nF='" + directory.path().string() +
            "'\nprintf '%s\\0' \"$PWD\" \"$@\" > \"$F/log\"\nshift\n\"$@\" < /dev/null\n"
            ": > \"$F/done.partial\"\nmv \"$F/done.partial\" \"$F/done\"\n",
        test::executable);
    environment.shell = "/bin/sh";
    environment.home = directory.path().string();
    const std::string workingDirectory = "Ordner mit \"it's\" $HOME `x` \\ \u00E4";
    std::filesystem::create_directory(directory.path() / workingDirectory);
    const ShellCommand command =
        shellCommand("printf '%s|' \"$PWD\" 'a\"b\\c' > result.partial && mv result.partial result",
                     directory.path().string() + "/" + workingDirectory);

    std::optional<TerminalExecutionError> outcome =
        TerminalExecutionError(TerminalExecutionError::ScriptFailed{});
    {
        TerminalAppBackend backend(builder,
                                   std::make_unique<TerminalEmulatorScriptEngine>(environment));
        backend.run(
            command, OpenBehavior::window,
            [&](std::optional<TerminalExecutionError> error) { outcome = std::move(error); });
    }
    EXPECT_EQ(outcome, std::nullopt);

    ASSERT_TRUE(waitForArrival(directory.path(), "done"));
    EXPECT_EQ(test::splitAtNul(test::contentOf(directory.path() / "log")),
              (std::vector<std::string>{directory.path().string(), "-e", "/bin/sh", "-c",
                                        builder.commandLine(command) + "\nexec '/bin/sh'"}));
    const std::filesystem::path commandFolder = directory.path() / workingDirectory;
    EXPECT_EQ(test::contentOf(commandFolder / "result"), commandFolder.string() + "|a\"b\\c|");
}

} // namespace
} // namespace kelvane

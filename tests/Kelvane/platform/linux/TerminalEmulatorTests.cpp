#include "Kelvane/platform/linux/TerminalEmulator.hpp"

#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using std::filesystem::perms;

TEST(TerminalEmulator, findsThePreferredTerminalFirst) {
    struct Case {
        const char* name;
        std::vector<std::string> executables;
        std::vector<std::string> others; // present, but not executable files
        std::optional<std::string> terminal;
        std::optional<std::string> found; // relative to the bin folder
    };
    // clang-format off
    const Case cases[] = {
        {"list order", {"xterm", "konsole"}, {}, std::nullopt, "konsole"},
        {"alternatives", {"xterm", "x-terminal-emulator", "gnome-terminal"}, {}, std::nullopt, "x-terminal-emulator"},
        {"TERMINAL by name", {"xterm", "my-term"}, {}, "my-term", "my-term"},
        {"TERMINAL missing", {"xfce4-terminal"}, {}, "no-such-term", "xfce4-terminal"},
        {"not executable", {"xterm"}, {"gnome-terminal"}, std::nullopt, "xterm"},
        {"directory", {"xterm"}, {"konsole/"}, std::nullopt, "xterm"},
        {"nothing", {}, {"xterm"}, std::nullopt, std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases) {
        test::TemporaryFolder directory;
        for (const std::string& name : c.executables)
            directory.write("bin/" + name, "#!/bin/sh\n", test::executable);
        for (const std::string& name : c.others) {
            if (name.ends_with('/'))
                std::filesystem::create_directories(directory.path() / "bin" / name);
            else
                directory.write("bin/" + name, "#!/bin/sh\n", perms::owner_read);
        }
        const std::string bin = (directory.path() / "bin").string();
        // Empty entries and missing folders in PATH are passed over.
        const TerminalEnvironment environment{c.terminal, "::/no/such/dir:" + bin + ":", {}, {}};
        const auto expected =
            c.found ? std::optional(bin + "/" + *c.found) : std::optional<std::string>();
        EXPECT_EQ(TerminalEmulator::find(environment), expected) << c.name;
    }
}

TEST(TerminalEmulator, takesTerminalAsAPath) {
    test::TemporaryFolder directory;
    const std::string own = directory.write("own/term", "#!/bin/sh\n", test::executable);
    EXPECT_EQ(TerminalEmulator::find({own, "", {}, {}}), own);
    EXPECT_EQ(TerminalEmulator::find({"", "", {}, {}}), std::nullopt);
}

TEST(TerminalEmulator, runsTheCommandLineThroughTheUsersShell) {
    struct Case {
        std::string emulator;
        std::optional<std::string> shell;
        std::vector<std::string> arguments;
    };
    // clang-format off
    const Case cases[] = {
        {"/usr/bin/xterm", std::nullopt, {"/usr/bin/xterm", "-e", "/bin/sh", "-c", "ls # all\nexec '/bin/sh'"}},
        {"/usr/bin/gnome-terminal", "/usr/bin/fish", {"/usr/bin/gnome-terminal", "--", "/usr/bin/fish", "-c", "ls # all\nexec '/usr/bin/fish'"}},
        {"/usr/bin/xfce4-terminal", "/opt/it's/zsh", {"/usr/bin/xfce4-terminal", "-x", "/opt/it's/zsh", "-c", "ls # all\nexec '/opt/it'\\''s/zsh'"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const TerminalEnvironment environment{{}, "", c.shell, {}};
        EXPECT_EQ(TerminalEmulator::arguments(c.emulator, environment, "ls # all"), c.arguments);
    }
}

TEST(TerminalEmulator, reportsAProgramThatCannotBeStarted) {
    test::TemporaryFolder directory;
    // Executable, but neither a binary nor a script with an interpreter line.
    const std::string broken = directory.write("broken", "no interpreter line\n", test::executable);
    const auto error = TerminalEmulator::launchDetached({broken, "-e", "true"}, std::nullopt);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, -10810);
    EXPECT_TRUE(error->message.value_or("").starts_with("\u201E" + broken +
                                                        "\u201C konnte nicht gestartet werden: "));
}

} // namespace
} // namespace kelvane

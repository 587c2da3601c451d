#include "KelvaneCore/Terminal/TerminalAppScriptBuilder.hpp"

#include "tests/KelvaneCore/Terminal/TerminalCommandFixtures.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::shellCommand;

const TerminalAppScriptBuilder builder("/Users/anna");

TEST(TerminalAppScriptBuilder, commandLineChangesIntoTheWorkingDirectory) {
    struct Case {
        std::optional<std::string> workingDirectory;
        std::string commandLine;
        std::string command = "make test";
        std::string home = "/Users/anna";
    };
    // The command text itself is never altered.
    const std::string verbatim = "  echo \"$HOME\" 'it''s' \\\n  done  ";
    const Case cases[] = {
        {std::nullopt, "make test"},
        {" \t \u00A0\u3000", "make test"},
        {"~", "cd '/Users/anna' && make test"},
        {"  ~/src  ", "cd '/Users/anna/src' && make test"},
        {"~bob/src", "cd '~bob/src' && make test"},
        {"/Volumes/Anna's Disk", "cd '/Volumes/Anna'\\''s Disk' && make test"},
        // Line breaks are not trimmed: they belong to the name.
        {"\n/tmp\n", "cd '\n/tmp\n' && make test"},
        {"/tmp", "cd '/tmp' && " + verbatim, verbatim},
        {"~/x", "cd '/home/o'\\''neil/x' && ls", "ls", "/home/o'neil"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TerminalAppScriptBuilder(c.home).commandLine(
                      shellCommand(c.command, c.workingDirectory)),
                  c.commandLine)
            << c.workingDirectory.value_or("(none)");
    }
}

TEST(TerminalAppScriptBuilder, writesTheScriptOfEachBehaviour) {
    const ShellCommand command = shellCommand("echo \"a\\b\"\tc\r\n", "~/src");
    const std::string literal = R"("cd '/Users/anna/src' && echo \"a\\b\"\tc\r\n")";
    EXPECT_EQ(builder.script(command, OpenBehavior::window), "tell application \"Terminal\"\n"
                                                             "    activate\n"
                                                             "    do script " +
                                                                 literal + "\nend tell");
    EXPECT_EQ(builder.script(command, OpenBehavior::tab),
              "tell application \"Terminal\" to activate\n"
              "tell application \"System Events\" to tell process \"Terminal\"\n"
              "    keystroke \"t\" using command down\n"
              "end tell\n"
              "tell application \"Terminal\"\n"
              "    do script " +
                  literal + " in front window\nend tell");
    EXPECT_EQ(builder.script(command, OpenBehavior::current),
              "tell application \"Terminal\"\n"
              "    activate\n"
              "    if (count of windows) is 0 then\n"
              "        do script " +
                  literal +
                  "\n"
                  "    else\n"
                  "        do script " +
                  literal +
                  " in front window\n"
                  "    end if\n"
                  "end tell");
}

} // namespace
} // namespace kelvane

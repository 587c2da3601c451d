#include "KelvaneCore/Terminal/TerminalAppScriptBuilder.hpp"

#include "support/TemporaryFolder.hpp"
#include "tests/KelvaneCore/Terminal/TerminalCommandFixtures.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <random>

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
        {"~", "cd '/Users/anna' && { make test\n}"},
        {"  ~/src  ", "cd '/Users/anna/src' && { make test\n}"},
        {"~bob/src", "cd './~bob/src' && { make test\n}"},
        {"-P", "cd './-P' && { make test\n}"},
        {"/Volumes/Anna's Disk", "cd '/Volumes/Anna'\\''s Disk' && { make test\n}"},
        // Line breaks are not trimmed: they belong to the name.
        {"\n/tmp\n", "cd './\n/tmp\n' && { make test\n}"},
        {"/tmp", "cd '/tmp' && { " + verbatim + "\n}", verbatim},
        {"~/x", "cd '/home/o'\\''neil/x' && { ls\n}", "ls", "/home/o'neil"},
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
    const std::string literal = R"("cd '/Users/anna/src' && { echo \"a\\b\"\tc\r\n\n}")";
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

namespace fs = std::filesystem;

/// The shells a command line meets: the user's login shell in Terminal, and sh.
const char* const shells[] = {"bash", "zsh", "dash"};

/// Runs `line` with `shell` in `directory`, given with -c or read from standard input the way a
/// terminal feeds it. HOME, OLDPWD and CDPATH all point at `decoy`, where a wrong "cd" ends up.
void runLine(const char* shell, bool fromInput, std::string line, const fs::path& directory,
             const fs::path& decoy) {
    const char* const path = std::getenv("PATH");
    std::vector<std::string> environment{"PATH=" + std::string(path ? path : "/usr/bin:/bin"),
                                         "HOME=" + decoy.string(), "OLDPWD=" + decoy.string(),
                                         "CDPATH=" + decoy.string()};
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string program = shell;
    std::string option = "-c";
    std::vector<char*> argv{program.data()};
    if (!fromInput)
        argv.insert(argv.end(), {option.data(), line.data()});
    argv.push_back(nullptr);

    int input[2];
    ASSERT_EQ(pipe(input), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_addclose(&actions, input[1]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, shell, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    if (spawned == 0 && fromInput) {
        EXPECT_EQ(write(input[1], line.data(), line.size()), ssize_t(line.size()));
    }
    close(input[1]);
    ASSERT_EQ(spawned, 0) << shell << " is missing; scripts/install-deps.sh installs it";
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << shell;
}

/// Every file below `folder`, relative to it, sorted.
std::vector<std::string> filesBelow(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

/// Runs `line` from `folder`/start in every shell, both ways, and expects exactly the files
/// `created` below `folder` after each run; they are removed again for the next.
void expectEveryShellCreates(const std::string& line, const test::TemporaryFolder& folder,
                             const std::vector<std::string>& created) {
    for (const char* shell : shells) {
        for (bool fromInput : {false, true}) {
            runLine(shell, fromInput, line, folder / "start", folder / "decoy");
            const std::vector<std::string> files = filesBelow(folder.path());
            EXPECT_EQ(files, created) << shell << (fromInput ? " < " : " -c ") << line;
            for (const std::string& file : files)
                fs::remove(folder / file);
        }
    }
}

/// Folder names that "cd" could take as an option, a directory stack entry or a CDPATH name,
/// and names a shell would expand if they were not quoted; then random ones of such characters.
std::vector<std::string> hostileNames() {
    std::vector<std::string> names{
        "-",    "-P",         "--",   "+1",        "-2",     "~bob", "#x",
        "it's", "$HOME `id`", "a b*", "\\\"q\\\"", "\nnl\n", "-P/-", "\u00FCber \u20AC"};
    const std::string pieces[] = {"-", "+", "~", "$", "`", "'", "\"", "\\", " ", "\n", "*",
                                  "#", "!", ";", "&", "|", "(", "{",  "}",  "P", "1",  "\u00FC"};
    std::mt19937 random(13);
    for (int i = 0; i < 10; ++i) {
        std::string name;
        for (std::size_t n = 1 + random() % 6; n > 0; --n)
            name += pieces[random() % std::size(pieces)];
        // Blanks at either end are trimmed off the working directory, and a lone tilde is the
        // home folder: neither names a folder of that name.
        if (name.front() != ' ' && name.back() != ' ' && name != "~")
            names.push_back(name);
    }
    return names;
}

TEST(TerminalAppScriptBuilder, commandLineReachesExactlyTheNamedFolderInEveryShell) {
    for (const std::string& name : hostileNames()) {
        test::TemporaryFolder folder;
        const TerminalAppScriptBuilder home((folder / "home").string());
        const struct {
            std::string workingDirectory;
            std::string reached;
        } forms[] = {{name, "start/" + name},
                     {"~/" + name, "home/" + name},
                     {(folder / "absolute" / name).string(), "absolute/" + name}};
        for (const std::string prefix : {"start/", "home/", "absolute/", "decoy/"})
            fs::create_directories(folder / (prefix + name));
        for (const auto& form : forms) {
            expectEveryShellCreates(
                home.commandLine(shellCommand(": > ran", form.workingDirectory)), folder,
                {form.reached + "/ran"});
        }
    }
}

TEST(TerminalAppScriptBuilder, commandLineRunsNoPartOfTheCommandWhenTheChangeFails) {
    struct Case {
        std::string command;
        std::vector<std::string> created; // in the working directory, when it exists
    };
    const Case cases[] = {
        {"touch a; touch b", {"a", "b"}},
        {"touch a # touch b", {"a"}},
        {"touch a;", {"a"}},
        {"touch a\ntouch b\n", {"a", "b"}},
        {"touch a \\\n b", {"a", "b"}},
        {"# first a comment\ntouch a; (touch b)", {"a", "b"}},
        {"cat > a <<EOF\nx\nEOF", {"a"}},
    };
    for (const Case& c : cases) {
        for (const std::string name : {"here", "missing"}) {
            test::TemporaryFolder folder;
            fs::create_directories(folder / "start" / "here");
            fs::create_directories(folder / "decoy" / name);
            const std::string line = TerminalAppScriptBuilder((folder / "home").string())
                                         .commandLine(shellCommand(c.command, name));
            std::vector<std::string> expected;
            if (name == "here") {
                for (const std::string& file : c.created)
                    expected.push_back("start/here/" + file);
            }
            expectEveryShellCreates(line, folder, expected);
        }
    }
}

} // namespace
} // namespace kelvane

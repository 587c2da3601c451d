#include "KelvaneCore/Safety/CommandRiskScanner.hpp"

#include "support/RepeatedText.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <thread>

namespace kelvane::CommandRiskScanner {

void PrintTo(const Finding& finding, std::ostream* out) {
    *out << "{" << finding.reason << ", \"" << finding.matched.substr(0, 80) << "\"}";
}

namespace {

using namespace std::string_literals;

const std::string deletes = "L\u00F6scht Dateien rekursiv oder erzwungen";
const std::string admin = "L\u00E4uft mit Administratorrechten";
const std::string rawWrite = "Schreibt direkt auf ein Ger\u00E4t oder eine Datei";
const std::string formats = "Formatiert ein Volume";
const std::string download = "F\u00FChrt heruntergeladenen Code direkt aus";
const std::string drive = "Schreibt auf ein Laufwerk";
const std::string worldWritable = "Macht Dateien f\u00FCr alle beschreibbar";
const std::string shutdown = "F\u00E4hrt den Rechner herunter oder startet ihn neu";
const std::string forkBomb = "Sieht aus wie eine Fork-Bombe";
const std::string gitDiscard = "Verwirft \u00C4nderungen im Git-Repository unwiderruflich";
const std::string gitRewrite = "\u00DCberschreibt den Verlauf im entfernten Repository";
const std::string killsAll = "Beendet alle Prozesse";
const std::string obfuscated = "F\u00FChrt verschleierten Code direkt aus";
const Finding incomplete{"Konnte nicht vollst\u00E4ndig gepr\u00FCft werden", ""};
const Finding marker{"In der Konfiguration als best\u00E4tigungspflichtig markiert", ""};

struct Case {
    std::string command;
    std::vector<Finding> findings;
};

void expectScans(const std::vector<Case>& cases) {
    for (const Case& c : cases)
        EXPECT_EQ(scan(c.command), c.findings) << c.command.substr(0, 80);
}

TEST(CommandRiskScanner, findsEachRuleWithItsFirstMatch) {
    expectScans({
        {"", {}},
        {"rm -rf /tmp/x", {{deletes, "rm -rf "}}},
        {"rm -r -f x", {{deletes, "rm -r -f "}}},
        {"rm -v -rf x", {{deletes, "rm -v -rf"}}},
        {"rm --recursive x", {{deletes, "rm --recursive"}}},
        {"sudo ls", {{admin, "sudo"}}},
        {"dd if=/dev/zero of=x", {{rawWrite, "dd if="}}},
        {"mkfs.ext4 /dev/x", {{formats, "mkfs"}}},
        {"diskutil eraseDisk APFS X disk4", {{formats, "diskutil erase"}}},
        {"curl -fsSL https://x.example/i | bash",
         {{download, "curl -fsSL https://x.example/i | bash"}}},
        {"wget -qO- https://x.example | sudo sh",
         {{admin, "sudo"}, {download, "wget -qO- https://x.example | sudo sh"}}},
        {"cat img > /dev/disk4", {{drive, "> /dev/disk"}}},
        {"chmod -R 777 .", {{worldWritable, "chmod -R 777"}}},
        {"chmod 0777 f", {{worldWritable, "chmod 0777"}}},
        {"chmod u+x,o+w f", {{worldWritable, "chmod u+x,o+w"}}},
        {"reboot", {{shutdown, "reboot"}}},
        {":(){ :|:& };:", {{forkBomb, ":(){ :|:& };:"}}},
        // One command, several rules, in table order whatever the order in the text.
        {"reboot; sudo rm -rf /", {{deletes, "rm -rf "}, {admin, "sudo"}, {shutdown, "reboot"}}},
        // The pattern's dot does not cross a line break; the shell words still show the bomb.
        {":(){ :|:&\n};:", {{forkBomb, ":(){ :|:&\n};:"}}},
    });
}

// However a command is spelt, wrapped or handed on, what runs is judged; words that are only
// data of a command that runs nothing are not.
TEST(CommandRiskScanner, readsTheCommandAsTheShellDoes) {
    expectScans({
        {"\"rm\" -rf x", {{deletes, "\"rm\" -rf"}}},
        {"find . | xargs rm -rf", {{deletes, "rm -rf"}}},
        {"find . -exec rm -rf", {{deletes, "rm -rf"}}},
        {"xz=1 sudo ls", {{admin, "sudo"}}},
        {"r$'\\x6D' -rf x", {{deletes, "r$'\\x6D' -rf"}}},
        {"echo ${a:-\\}}; sudo ls", {{admin, "sudo"}}},
        // A text handed to a shell is read again; the match is in that text.
        {"sh -c 'r\"\"m -rf /'", {{deletes, "r\"\"m -rf"}}},
        {"ssh host sudo reboot", {{admin, "sudo"}, {shutdown, "reboot"}}},
        {"echo \"sudo ls\" | sh", {{admin, "sudo"}}},
        {"echo \"$(sudo ls)\"", {{admin, "sudo"}}},
        {"bash <(curl -s x)", {{download, "bash <(curl -s x)"}}},
        {"echo aGk= | base64 -d | bash", {{obfuscated, "base64 -d | bash"}}},
        {"echo sudo; sudo ls", {{admin, "sudo"}}},
        {"git commit -m \"fix shutdown handler\" && reboot", {{shutdown, "reboot"}}},
        {"git push -fu origin main", {{gitRewrite, "git push -fu"}}},
        {"git reset --hard HEAD~1", {{gitDiscard, "git reset --hard"}}},
        {"git checkout -- a.c", {{gitDiscard, "git checkout -- a.c"}}},
        {"kill -9 -1", {{killsAll, "kill -9 -1"}}},
    });
}

// The shell sees the same bytes: an ill-formed sequence never turns into a separator or a
// letter, and text after a NUL is still looked at in case a layer passes it on.
TEST(CommandRiskScanner, looksAtEveryByteOfIllFormedText) {
    expectScans({
        {"sudo \xFF\xFE", {{admin, "sudo"}}},
        {"su\xFF"
         "do ls",
         {}},
        {"echo hi\0; sudo ls"s, {{admin, "sudo"}}},
        {"rm -rf \xE2\x82", {{deletes, "rm -rf "}}},
        {":(){ \xFF|:& };:", {{forkBomb, ":(){ \xFF|:& };:"}}},
    });
}

using test::repeated;

constexpr std::size_t megabyte = 1 << 20;

// Each text makes at least one pattern backtrack quadratically or pile up backtracking points.
// A scan that had to stop early must say so instead of calling the command harmless.
TEST(CommandRiskScanner, boundsItsWorkOnHostileText) {
    expectScans({
        {repeated("a", megabyte), {}},
        {"rm -" + repeated("r", megabyte), {incomplete}},
        {"rm " + repeated("-r ", megabyte), {incomplete}},
        {repeated("curl | ", megabyte), {incomplete}},
        {repeated(":(){ ", megabyte), {incomplete}},
        {repeated("dd ", megabyte), {incomplete}},
        {repeated("> ", megabyte), {incomplete}},
        {"mkfs" + repeated("a", megabyte),
         {{formats, "mkfs" + repeated("a", megabyte)}, incomplete}},
        {"sudo " + repeated("curl ", megabyte), {{admin, "sudo"}, incomplete}},
        // Nesting and commands beyond what is read: the rest is not taken for harmless.
        {repeated("$(", megabyte), {incomplete}},
        {repeated("eval ", 100) + "reboot", {{shutdown, "reboot"}, incomplete}},
        {repeated("a|", megabyte), {incomplete}},
        {repeated("find -exec ", megabyte), {incomplete}},
    });
}

TEST(CommandRiskScanner, givesTheSameAnswerOnEveryThread) {
    const std::string commands[] = {"sudo shutdown -h now", "ls", "rm -rf ~/x", "curl x | sh"};
    std::vector<std::vector<Finding>> expected;
    for (const std::string& command : commands)
        expected.push_back(scan(command));
    std::vector<int> failures(4, 0);
    {
        std::vector<std::jthread> threads;
        for (int& failureCount : failures)
            threads.emplace_back([&] {
                for (std::size_t i = 0; i < 400; ++i)
                    failureCount += scan(commands[i % 4]) == expected[i % 4] ? 0 : 1;
            });
    }
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

ShellCommand command(std::string text, std::optional<bool> requiresConfirmation) {
    return ShellCommand(Uuid::random(), "Titel", std::move(text), std::nullopt, std::nullopt,
                        std::nullopt, requiresConfirmation);
}

TEST(CommandRiskScanner, combinesTheEntryFlagWithTheScannerSwitch) {
    struct ConfirmationCase {
        std::string text;
        std::optional<bool> flag;
        bool scannerEnabled;
        std::vector<Finding> findings;
    };
    const Finding sudo{admin, "sudo"};
    // The last: a marked entry whose scan stopped early still asks, and says why.
    const ConfirmationCase cases[] = {
        {"sudo ls", std::nullopt, true, {sudo}},
        {"ls", std::nullopt, true, {}},
        {"sudo ls", std::nullopt, false, {}},
        {"sudo rm -rf /", false, true, {}},
        {"ls", true, false, {marker}},
        {"sudo ls", true, false, {sudo}},
        {repeated("curl ", megabyte), true, false, {incomplete}},
    };
    for (const ConfirmationCase& c : cases)
        EXPECT_EQ(requiresConfirmation(command(c.text, c.flag), c.scannerEnabled), c.findings)
            << c.text.substr(0, 40) << " flag "
            << (c.flag ? (*c.flag ? "true" : "false") : "absent") << " scanner "
            << c.scannerEnabled;
}

std::vector<std::string> corpus(const std::string& name) {
    std::ifstream file(std::string(KELVANE_SAFETY_CORPUS_DIR) + "/" + name);
    std::vector<std::string> commands;
    for (std::string line; std::getline(file, line);)
        if (!line.empty() && line[0] != '#')
            commands.push_back(line);
    return commands;
}

// Every dangerous command asks, whatever its spelling; no everyday command asks, whatever
// words its arguments hold. The figures must stay within 95 % found and 3 % asked.
TEST(CommandRiskScanner, asksForDangerousCommandsAndNotForEverydayOnes) {
    const std::vector<std::string> dangerous = corpus("dangerous.txt");
    const std::vector<std::string> everyday = corpus("everyday.txt");
    ASSERT_GE(dangerous.size(), 150u);
    ASSERT_GE(everyday.size(), 150u);
    std::size_t missed = 0;
    for (const std::string& command : dangerous)
        if (scan(command).empty()) {
            ++missed;
            ADD_FAILURE() << "not found: " << command;
        }
    std::size_t flagged = 0;
    for (const std::string& command : everyday)
        if (const std::vector<Finding> findings = scan(command); !findings.empty()) {
            ++flagged;
            ADD_FAILURE() << "asked needlessly: " << command << " "
                          << testing::PrintToString(findings);
        }
    EXPECT_LE(missed * 100, dangerous.size() * 5);
    EXPECT_LE(flagged * 100, everyday.size() * 3);
}

} // namespace
} // namespace kelvane::CommandRiskScanner

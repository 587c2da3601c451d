#include "KelvaneCore/Safety/CommandRiskScanner.hpp"

#include "support/RepeatedText.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <thread>

namespace kelvane::CommandRiskScanner {

void PrintTo(const Finding& finding, std::ostream* out) {
    *out << "{" << finding.reason << ", \"" << finding.matched << "\"}";
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
        {"ls -la ~/Downloads", {}},
        {"rm -rf /tmp/x", {{deletes, "rm -rf "}}},
        {"rm -r -f x", {{deletes, "rm -r -f "}}},
        {"rm -rf", {}},
        {"rm -v -rf x", {}},
        {"sudo ls", {{admin, "sudo"}}},
        {"visudo", {}},
        {"cat /etc/sudoers", {}},
        {"dd if=/dev/zero of=x", {{rawWrite, "dd if="}}},
        {"mkfs.ext4 /dev/x", {{formats, "mkfs"}}},
        {"diskutil eraseDisk APFS X disk4", {{formats, "diskutil erase"}}},
        {"curl -fsSL https://x.example/i | bash",
         {{download, "curl -fsSL https://x.example/i | bash"}}},
        {"wget -qO- https://x.example | sudo sh",
         {{admin, "sudo"}, {download, "wget -qO- https://x.example | sudo sh"}}},
        {"curl x | less", {}},
        {"cat img > /dev/disk4", {{drive, "> /dev/disk"}}},
        {"cat img > /dev/null", {}},
        {"chmod -R 777 .", {{worldWritable, "chmod -R 777"}}},
        {"chmod 0777 f", {}},
        {"reboot", {{shutdown, "reboot"}}},
        {"halting", {}},
        {":(){ :|:& };:", {{forkBomb, ":(){ :|:& };:"}}},
        // One command, several rules, in table order whatever the order in the text.
        {"reboot; sudo rm -rf /", {{deletes, "rm -rf "}, {admin, "sudo"}, {shutdown, "reboot"}}},
        // The dot does not cross a line break.
        {":(){ :|:&\n};:", {}},
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
        {"mkfs" + repeated("a", megabyte), {incomplete}},
        {"sudo " + repeated("curl ", megabyte), {{admin, "sudo"}, incomplete}},
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

} // namespace
} // namespace kelvane::CommandRiskScanner

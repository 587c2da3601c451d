#include "KelvaneCore/Safety/CommandRiskScanner.hpp"

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
        {"rm -R dir", {{deletes, "rm -R "}}},
        {"rm -r -f x", {{deletes, "rm -r -f "}}},
        {"rm -rf", {}},
        {"rm --recursive x", {}},
        {"rm -v -rf x", {}},
        {"rm -rf a; rm -f b", {{deletes, "rm -rf "}}},
        {"sudo ls", {{admin, "sudo"}}},
        {"SUDO ls", {{admin, "SUDO"}}},
        {"visudo", {}},
        {"cat /etc/sudoers", {}},
        {"dd if=/dev/zero of=x", {{rawWrite, "dd if="}}},
        {"mkfs.ext4 /dev/x", {{formats, "mkfs"}}},
        {"newfs_hfs /dev/disk3", {{formats, "newfs_hfs"}}},
        {"diskutil eraseDisk APFS X disk4", {{formats, "diskutil erase"}}},
        {"diskutil list", {}},
        {"curl -fsSL https://x.example/i | bash",
         {{download, "curl -fsSL https://x.example/i | bash"}}},
        {"wget -qO- https://x.example | sudo sh",
         {{admin, "sudo"}, {download, "wget -qO- https://x.example | sudo sh"}}},
        {"curl x | zsh", {{download, "curl x | zsh"}}},
        {"curl x | less", {}},
        {"curl x > file.sh", {}},
        {"cat img > /dev/disk4", {{drive, "> /dev/disk"}}},
        {"cat img >/dev/rdisk4", {{drive, ">/dev/rdisk"}}},
        {"cat img > /dev/null", {}},
        {"chmod -R 777 .", {{worldWritable, "chmod -R 777"}}},
        {"chmod a+w f", {{worldWritable, "chmod a+w"}}},
        {"chmod 0777 f", {}},
        {"chmod 755 f", {}},
        {"reboot", {{shutdown, "reboot"}}},
        {"shutdown -h now", {{shutdown, "shutdown"}}},
        {"halt", {{shutdown, "halt"}}},
        {"halting", {}},
        {":(){ :|:& };:", {{forkBomb, ":(){ :|:& };:"}}},
        // One command, several rules, in table order whatever the order in the text.
        {"sudo shutdown -h now", {{admin, "sudo"}, {shutdown, "shutdown"}}},
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
        {"\xC3sudo ls", {{admin, "sudo"}}},
        {"su\xFF"
         "do ls",
         {}},
        {"echo hi\0; sudo ls"s, {{admin, "sudo"}}},
        {"\0\0\0reboot"s, {{shutdown, "reboot"}}},
        {"rm -rf \xE2\x82", {{deletes, "rm -rf "}}},
        {"\xF0\x9F\x98 dd if=/dev/zero", {{rawWrite, "dd if="}}},
        {":(){ \xFF|:& };:", {{forkBomb, ":(){ \xFF|:& };:"}}},
        {"gr\u00FC\u00DFe \u2014 reboot", {{shutdown, "reboot"}}},
    });
}

std::string repeated(std::string_view piece, std::size_t size) {
    std::string text;
    text.reserve(size + piece.size());
    while (text.size() < size)
        text += piece;
    return text;
}

constexpr std::size_t megabyte = 1 << 20;

// Each text makes at least one pattern backtrack quadratically or pile up backtracking points.
// A scan that had to stop early must say so instead of calling the command harmless.
TEST(CommandRiskScanner, boundsItsWorkOnHostileText) {
    expectScans({
        {repeated("a", megabyte), {}},
        {repeated(" ", megabyte), {}},
        {"rm -" + repeated("r", megabyte), {incomplete}},
        {"rm -" + repeated("a", megabyte), {incomplete}},
        {"rm " + repeated("-r ", megabyte), {incomplete}},
        {repeated("curl ", megabyte), {incomplete}},
        {repeated("curl | ", megabyte), {incomplete}},
        {repeated(":(){ ", megabyte), {incomplete}},
        {":(){" + repeated(" ", megabyte), {incomplete}},
        {repeated("dd ", megabyte), {incomplete}},
        {repeated("> ", megabyte), {incomplete}},
        {"mkfs" + repeated("a", megabyte), {incomplete}},
        {"sudo " + repeated("curl ", megabyte), {{admin, "sudo"}, incomplete}},
        {repeated("sudo ", megabyte), {{admin, "sudo"}, incomplete}},
    });
}

TEST(CommandRiskScanner, givesTheSameAnswerOnEveryThread) {
    const std::vector<std::string> commands = {"sudo shutdown -h now", "ls", "rm -rf ~/x",
                                               "curl x | sh"};
    std::vector<std::vector<Finding>> expected;
    for (const std::string& command : commands)
        expected.push_back(scan(command));
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (int& failureCount : failures)
        threads.emplace_back([&] {
            for (std::size_t i = 0; i < 400; ++i)
                failureCount +=
                    scan(commands[i % commands.size()]) == expected[i % commands.size()] ? 0 : 1;
        });
    for (std::thread& thread : threads)
        thread.join();
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
    const ConfirmationCase cases[] = {
        {"sudo ls", std::nullopt, true, {sudo}}, {"ls", std::nullopt, true, {}},
        {"sudo ls", std::nullopt, false, {}},    {"sudo rm -rf /", false, true, {}},
        {"sudo ls", false, false, {}},           {"ls", true, true, {marker}},
        {"ls", true, false, {marker}},           {"sudo ls", true, true, {sudo}},
        {"sudo ls", true, false, {sudo}},
    };
    for (const ConfirmationCase& c : cases)
        EXPECT_EQ(requiresConfirmation(command(c.text, c.flag), c.scannerEnabled), c.findings)
            << c.text << " flag " << (c.flag ? (*c.flag ? "true" : "false") : "absent")
            << " scanner " << c.scannerEnabled;
}

TEST(CommandRiskScanner, asksForAnEntryMarkedForConfirmationWhenTheScanStopsEarly) {
    EXPECT_EQ(requiresConfirmation(command(repeated("curl ", megabyte), true), false),
              std::vector<Finding>{incomplete});
}

} // namespace
} // namespace kelvane::CommandRiskScanner

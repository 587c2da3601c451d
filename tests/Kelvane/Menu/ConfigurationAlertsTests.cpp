#include "Kelvane/Menu/ConfigurationAlerts.hpp"

#include "Kelvane/platform/PlatformWords.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using Issue = ConfigTrustCheck::Issue;

const std::vector<Issue> twoIssues{
    {Issue::GroupWritable{}, "/home/a/k.json"},
    {Issue::ParentDirectoryWritableByOthers{"/home/a"}, "/home/a/k.json"},
};

TEST(ConfigurationAlerts, problemAlertExplainsEachKindOfProblem) {
    struct Case {
        const char* name;
        ConfigurationProblem problem;
        std::string messageText;
        std::string informativeText;
        std::string firstButton;
    };
    const std::vector<Case> cases{
        {"parse",
         {ConfigurationProblem::Parse{"Zeile 2: Komma fehlt"}},
         "Die Konfiguration konnte nicht geladen werden",
         "Zeile 2: Komma fehlt\n\nDie zuletzt funktionierende Konfiguration bleibt aktiv, bis "
         "die Datei wieder g\u00FCltig ist.",
         "In Editor \u00F6ffnen"},
        {"missing",
         {ConfigurationProblem::Missing{"/home/a/k.json"}},
         "Die Konfiguration konnte nicht geladen werden",
         "Unter \u201E/home/a/k.json\u201C liegt keine Datei.",
         std::string(platformWords().revealInFileManager)},
        {"untrusted",
         {ConfigurationProblem::Untrusted{twoIssues}},
         "Die Konfigurationsdatei ist nicht gesch\u00FCtzt",
         "\u201E/home/a/k.json\u201C ist f\u00FCr die Gruppe beschreibbar.\n"
         "Der Ordner \u201E/home/a\u201C ist f\u00FCr andere beschreibbar.\n\n"
         "Solange andere Prozesse die Datei \u00E4ndern k\u00F6nnen, f\u00FChrt Kelvane sie "
         "nicht aus. Behebe das im Terminal:\n\n"
         "chmod 600 '/home/a/k.json'\nchmod 755 '/home/a'",
         "Befehl kopieren"},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        const Alert alert = ConfigurationAlerts::problemAlert(testCase.problem);
        EXPECT_EQ(alert.style, Alert::Style::warning);
        EXPECT_EQ(alert.messageText, testCase.messageText);
        EXPECT_EQ(alert.informativeText, testCase.informativeText);
        EXPECT_EQ(alert.buttons,
                  (std::vector<std::string>{testCase.firstButton, "Schlie\u00DFen"}));
        EXPECT_FALSE(alert.destructiveButton);
        EXPECT_FALSE(alert.accessoryText);
    }
}

std::vector<ConfigurationWarning> unknownKeys(std::size_t count) {
    std::vector<ConfigurationWarning> warnings;
    for (std::size_t index = 1; index <= count; ++index)
        warnings.push_back({ConfigurationWarning::UnknownKey{"k" + std::to_string(index)}});
    return warnings;
}

std::string bullets(const std::vector<ConfigurationWarning>& warnings, std::size_t count) {
    std::string text;
    for (std::size_t index = 0; index < count; ++index)
        text += (index ? "\n\u2022 " : "\u2022 ") + warnings[index].message();
    return text;
}

TEST(ConfigurationAlerts, warningsAlertListsTwentyAndCountsTheRest) {
    struct Case {
        std::size_t count;
        std::string tail;
    };
    for (const Case& testCase : std::vector<Case>{
             {20, ""}, {21, "\n\u2026 und 1 weitere"}, {25, "\n\u2026 und 5 weitere"}}) {
        SCOPED_TRACE(testCase.count);
        const auto warnings = unknownKeys(testCase.count);
        const Alert alert = ConfigurationAlerts::warningsAlert(warnings);
        EXPECT_EQ(alert.style, Alert::Style::informational);
        EXPECT_EQ(alert.messageText, "Hinweise zur Konfiguration");
        EXPECT_EQ(alert.informativeText,
                  bullets(warnings, std::min<std::size_t>(testCase.count, 20)) + testCase.tail);
        EXPECT_EQ(alert.buttons,
                  (std::vector<std::string>{"In Editor \u00F6ffnen", "Schlie\u00DFen"}));
    }
}

TEST(ConfigurationAlerts, aboutNamesTheApplicationItsVersionAndCopyright) {
    const Alert alert = ConfigurationAlerts::aboutAlert();
    EXPECT_EQ(alert.messageText, "Kelvane");
    EXPECT_EQ(alert.informativeText, "Version " KELVANE_TEST_PROJECT_VERSION
                                     "\nCopyright \u00A9 2025 Tolvo. Alle Rechte vorbehalten.");
    EXPECT_EQ(alert.buttons, std::vector<std::string>{"OK"});
}

} // namespace
} // namespace kelvane

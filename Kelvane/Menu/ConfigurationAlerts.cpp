#include "Kelvane/Menu/ConfigurationAlerts.hpp"

#include "Kelvane/platform/PlatformWords.hpp"
#include "KelvaneCore/Configuration/Overloaded.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"
#include "KelvaneCore/Text/Joining.hpp"

namespace kelvane::ConfigurationAlerts {
namespace {

constexpr std::size_t listedWarnings = 20;

std::string untrustedText(const std::vector<ConfigTrustCheck::Issue>& issues) {
    std::vector<std::string> messages;
    for (const ConfigTrustCheck::Issue& issue : issues)
        messages.push_back(issue.message());
    return joined(messages, "\n") +
           "\n\nSolange andere Prozesse die Datei \u00E4ndern k\u00F6nnen, f\u00FChrt Kelvane sie "
           "nicht aus. Behebe das im Terminal:\n\n" +
           fixCommands(issues);
}

} // namespace

Alert problemAlert(const ConfigurationProblem& problem) {
    Alert alert;
    alert.style = Alert::Style::warning;
    alert.messageText = "Die Konfiguration konnte nicht geladen werden";
    std::visit(Overloaded{
                   [&](const ConfigurationProblem::Parse& parse) {
                       alert.informativeText =
                           parse.text + "\n\nDie zuletzt funktionierende Konfiguration bleibt "
                                        "aktiv, bis die Datei wieder g\u00FCltig ist.";
                       alert.buttons.push_back("In Editor \u00F6ffnen");
                   },
                   [&](const ConfigurationProblem::Missing& missing) {
                       alert.informativeText =
                           "Unter " + germanQuoted(missing.path) + " liegt keine Datei.";
                       alert.buttons.emplace_back(platformWords().revealInFileManager);
                   },
                   [&](const ConfigurationProblem::Untrusted& untrusted) {
                       alert.messageText = "Die Konfigurationsdatei ist nicht gesch\u00FCtzt";
                       alert.informativeText = untrustedText(untrusted.issues);
                       alert.buttons.push_back("Befehl kopieren");
                   },
               },
               problem.kind);
    alert.buttons.push_back("Schlie\u00DFen");
    return alert;
}

std::string fixCommands(const std::vector<ConfigTrustCheck::Issue>& issues) {
    std::vector<std::string> commands;
    for (const ConfigTrustCheck::Issue& issue : issues) {
        if (auto command = issue.fixCommand())
            commands.push_back(std::move(*command));
    }
    return joined(commands, "\n");
}

Alert warningsAlert(const std::vector<ConfigurationWarning>& warnings) {
    std::vector<std::string> lines;
    for (std::size_t index = 0; index < warnings.size() && index < listedWarnings; ++index)
        lines.push_back("\u2022 " + warnings[index].message());
    std::string text = joined(lines, "\n");
    if (const std::size_t count = countOfWarnings(warnings); warnings.size() > listedWarnings)
        text += "\n\u2026 und " + std::to_string(count - listedWarnings) + " weitere";
    Alert alert;
    alert.style = Alert::Style::informational;
    alert.messageText = "Hinweise zur Konfiguration";
    alert.informativeText = std::move(text);
    alert.buttons = {"In Editor \u00F6ffnen", "Schlie\u00DFen"};
    return alert;
}

Alert aboutAlert() {
    Alert alert;
    alert.style = Alert::Style::informational;
    alert.messageText = "Kelvane";
    alert.informativeText =
        "Version " KELVANE_VERSION "\nCopyright \u00A9 2025 Tolvo. Alle Rechte vorbehalten.";
    alert.buttons = {"OK"};
    return alert;
}

} // namespace kelvane::ConfigurationAlerts

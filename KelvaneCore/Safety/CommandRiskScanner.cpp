#include "KelvaneCore/Safety/CommandRiskScanner.hpp"

#include "KelvaneCore/Safety/CommandLineReader.hpp"
#include "KelvaneCore/Safety/Risk.hpp"
#include "KelvaneCore/Unicode/RegexSearch.hpp"

#include <array>
#include <cstdint>

namespace kelvane::CommandRiskScanner {
namespace {

// One German reason per kind of danger, in the order of `Risk`.
constexpr std::array<std::string_view, riskCount> reasons{{
    "L\u00F6scht Dateien rekursiv oder erzwungen",
    "L\u00E4uft mit Administratorrechten",
    "Schreibt direkt auf ein Ger\u00E4t oder eine Datei",
    "Formatiert ein Volume",
    "F\u00FChrt heruntergeladenen Code direkt aus",
    "Schreibt auf ein Laufwerk",
    "Macht Dateien f\u00FCr alle beschreibbar",
    "F\u00E4hrt den Rechner herunter oder startet ihn neu",
    "Sieht aus wie eine Fork-Bombe",
    "Verwirft \u00C4nderungen im Git-Repository unwiderruflich",
    "\u00DCberschreibt den Verlauf im entfernten Repository",
    "Beendet alle Prozesse",
    "\u00DCberschreibt Dateien unwiederbringlich",
    "Leert oder k\u00FCrzt Dateien",
    "Ver\u00E4ndert die Partitionstabelle eines Laufwerks",
    "L\u00F6scht alle Daten eines Laufwerks",
    "F\u00FChrt verschleierten Code direkt aus",
}};

// The patterns of the first nine kinds, in the order of `Risk`. They search the command text
// with every data-only argument hidden, so that `man sudo` asks nothing.
constexpr std::array<std::string_view, 9> patterns{{
    R"(\brm\s+(-[a-zA-Z]*[rf][a-zA-Z]*\s+)+)",
    R"(\bsudo\b)",
    R"(\bdd\s+if=)",
    R"((\bmkfs\w*\b|\bnewfs_\w+\b|\bdiskutil\s+erase))",
    R"(\b(curl|wget)\b[^|]*\|\s*(sudo\s+)?(ba|z|k)?sh\b)",
    R"(>\s*/dev/(disk|rdisk))",
    R"(\bchmod\s+(-R\s+)?(777|a\+w)\b)",
    R"(\b(shutdown|reboot|halt)\b)",
    R"(:\(\)\s*\{.*\};\s*:)",
}};

constexpr std::string_view incompleteReason = "Konnte nicht vollst\u00E4ndig gepr\u00FCft werden";
constexpr std::string_view configurationMarkerReason =
    "In der Konfiguration als best\u00E4tigungspflichtig markiert";

// The work all nine searches of one scan may do together, in units of about ten thousand
// backtracking steps. Command lines of a few kilobytes need none of it; it runs out only on
// texts of hundreds of kilobytes or on constructions that make a pattern backtrack
// quadratically, and keeps every scan within a few dozen milliseconds.
constexpr std::int32_t scanBudgetUnits = 40;

// Compiled on first use and shared by all threads; the patterns never change.
const std::vector<Unicode::RegexPattern>& compiledPatterns() {
    static const auto compiled = [] {
        std::vector<Unicode::RegexPattern> compiledPatterns;
        compiledPatterns.reserve(patterns.size());
        for (std::string_view pattern : patterns)
            compiledPatterns.emplace_back(pattern, Unicode::CaseSensitivity::insensitive);
        return compiledPatterns;
    }();
    return compiled;
}

} // namespace

std::vector<Finding> scan(std::string_view command) {
    const CommandLineReader::Reading reading = CommandLineReader::read(command);
    const Unicode::SearchText text(reading.searchable);
    Unicode::SearchBudget budget{scanBudgetUnits};
    std::vector<Finding> findings;
    bool complete = reading.complete;
    const std::vector<Unicode::RegexPattern>& compiled = compiledPatterns();
    for (std::size_t risk = 0; risk < riskCount; ++risk) {
        const Unicode::SearchResult result = risk < compiled.size()
                                                 ? compiled[risk].firstMatch(text, budget)
                                                 : Unicode::SearchResult{};
        complete = complete && result.status != Unicode::SearchResult::Status::incomplete;
        if (result.status == Unicode::SearchResult::Status::found) {
            // The searched text has the command's length; the match is shown as written.
            const auto offset =
                static_cast<std::size_t>(result.matched.data() - text.utf8().data());
            findings.push_back({std::string(reasons[risk]),
                                std::string(command.substr(offset, result.matched.size()))});
        } else if (const auto& matched = reading.matched[risk]) {
            findings.push_back({std::string(reasons[risk]), *matched});
        }
    }
    if (!complete)
        findings.push_back({std::string(incompleteReason), {}});
    return findings;
}

std::vector<Finding> requiresConfirmation(const ShellCommand& command, bool scannerEnabled) {
    if (!command.requiresConfirmation.value_or(scannerEnabled))
        return {};
    std::vector<Finding> findings = scan(command.command);
    if (findings.empty() && command.requiresConfirmation.value_or(false))
        findings.push_back({std::string(configurationMarkerReason), {}});
    return findings;
}

} // namespace kelvane::CommandRiskScanner

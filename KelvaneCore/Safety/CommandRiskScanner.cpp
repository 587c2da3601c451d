#include "KelvaneCore/Safety/CommandRiskScanner.hpp"

#include "KelvaneCore/Unicode/RegexSearch.hpp"

#include <array>
#include <cstdint>

namespace kelvane::CommandRiskScanner {
namespace {

struct Rule {
    std::string_view pattern;
    std::string_view reason;
};

constexpr std::array<Rule, 9> rules{{
    {R"(\brm\s+(-[a-zA-Z]*[rf][a-zA-Z]*\s+)+)", "L\u00F6scht Dateien rekursiv oder erzwungen"},
    {R"(\bsudo\b)", "L\u00E4uft mit Administratorrechten"},
    {R"(\bdd\s+if=)", "Schreibt direkt auf ein Ger\u00E4t oder eine Datei"},
    {R"((\bmkfs\w*\b|\bnewfs_\w+\b|\bdiskutil\s+erase))", "Formatiert ein Volume"},
    {R"(\b(curl|wget)\b[^|]*\|\s*(sudo\s+)?(ba|z|k)?sh\b)",
     "F\u00FChrt heruntergeladenen Code direkt aus"},
    {R"(>\s*/dev/(disk|rdisk))", "Schreibt auf ein Laufwerk"},
    {R"(\bchmod\s+(-R\s+)?(777|a\+w)\b)", "Macht Dateien f\u00FCr alle beschreibbar"},
    {R"(\b(shutdown|reboot|halt)\b)", "F\u00E4hrt den Rechner herunter oder startet ihn neu"},
    {R"(:\(\)\s*\{.*\};\s*:)", "Sieht aus wie eine Fork-Bombe"},
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
const std::vector<Unicode::RegexPattern>& compiledRules() {
    static const auto compiled = [] {
        std::vector<Unicode::RegexPattern> patterns;
        patterns.reserve(rules.size());
        for (const Rule& rule : rules)
            patterns.emplace_back(rule.pattern, Unicode::CaseSensitivity::insensitive);
        return patterns;
    }();
    return compiled;
}

} // namespace

std::vector<Finding> scan(std::string_view command) {
    const Unicode::SearchText text(command);
    Unicode::SearchBudget budget{scanBudgetUnits};
    std::vector<Finding> findings;
    bool complete = true;
    const std::vector<Unicode::RegexPattern>& patterns = compiledRules();
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const Unicode::SearchResult result = patterns[i].firstMatch(text, budget);
        if (result.status == Unicode::SearchResult::Status::found)
            findings.push_back({std::string(rules[i].reason), std::string(result.matched)});
        else if (result.status == Unicode::SearchResult::Status::incomplete)
            complete = false;
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

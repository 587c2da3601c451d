#include "KelvaneCore/Configuration/ConfigurationWarning.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

#include "KelvaneCore/Configuration/Overloaded.hpp"

#include <array>

namespace kelvane {
std::string ConfigurationWarning::message() const {
    using W = ConfigurationWarning;
    return std::visit(
        Overloaded{
            [](const W::UnknownKey& w) {
                return "Unbekannter Schl\u00FCssel " + germanQuoted(w.key) + " wurde ignoriert.";
            },
            [](const W::UnsupportedTerminal& w) {
                return "Terminal " + germanQuoted(w.name) +
                       " wird (noch) nicht unterst\u00FCtzt \u2014 " + w.usedInstead +
                       " wird verwendet.";
            },
            [](const W::EmptyTitle& w) {
                return "Eintrag ohne Namen in " + germanQuoted(w.path) +
                       " \u2014 der Befehl wird als Name angezeigt.";
            },
            [](const W::EmptyCommand& w) {
                return "Eintrag " + germanQuoted(w.title) +
                       " enth\u00E4lt keinen Befehl und wurde \u00FCbersprungen.";
            },
            [](const W::DuplicateTitle& w) {
                return germanQuoted(w.title) + " kommt in " + germanQuoted(w.path) +
                       " mehrfach vor.";
            },
            [](const W::InvalidShortcut& w) {
                return "Ung\u00FCltiges Tastaturk\u00FCrzel " + germanQuoted(w.raw) + " bei " +
                       germanQuoted(w.title) + " \u2014 wurde ignoriert.";
            },
            [](const W::SkippedEntry& w) {
                return "Eintrag in " + germanQuoted(w.path) + " \u00FCbersprungen: " + w.reason;
            },
            [](const W::DuplicateKey& w) {
                const std::string place =
                    w.path.empty() ? "" : " in einem Eintrag in " + germanQuoted(w.path);
                return "Schl\u00FCssel " + germanQuoted(w.key) + place +
                       " kommt mehrfach vor \u2014 der letzte Wert gilt.";
            },
            [](const W::MoreWarnings& w) {
                if (w.count == 1)
                    return std::string("1 weiterer Hinweis wird nicht einzeln aufgef\u00FChrt.");
                return std::to_string(w.count) +
                       " weitere Hinweise werden nicht einzeln aufgef\u00FChrt.";
            },
        },
        kind);
}

std::size_t countOfWarnings(const std::vector<ConfigurationWarning>& warnings) {
    if (warnings.empty())
        return 0;
    const auto* more = std::get_if<ConfigurationWarning::MoreWarnings>(&warnings.back().kind);
    return more ? warnings.size() - 1 + more->count : warnings.size();
}

std::string_view ConfigurationWarning::kindName() const {
    static constexpr std::array<std::string_view, std::variant_size_v<Kind>> names{
        "unknownKey",      "unsupportedTerminal", "emptyTitle",   "emptyCommand", "duplicateTitle",
        "invalidShortcut", "skippedEntry",        "duplicateKey", "moreWarnings"};
    return names[kind.index()];
}

} // namespace kelvane

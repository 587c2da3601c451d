#include "KelvaneCore/Configuration/ConfigurationWarning.hpp"

#include "KelvaneCore/Configuration/Overloaded.hpp"

#include <array>

namespace kelvane {
namespace {

std::string quoted(const std::string& text) {
    return "\u201E" + text + "\u201C";
}

} // namespace

std::string ConfigurationWarning::message() const {
    using W = ConfigurationWarning;
    return std::visit(
        Overloaded{
            [](const W::UnknownKey& w) {
                return "Unbekannter Schl\u00FCssel " + quoted(w.key) + " wurde ignoriert.";
            },
            [](const W::UnsupportedTerminal& w) {
                return "Terminal " + quoted(w.name) +
                       " wird (noch) nicht unterst\u00FCtzt \u2014 Terminal.app wird verwendet.";
            },
            [](const W::EmptyTitle& w) {
                return "Eintrag ohne Namen in " + quoted(w.path) +
                       " \u2014 der Befehl wird als Name angezeigt.";
            },
            [](const W::EmptyCommand& w) {
                return "Eintrag " + quoted(w.title) +
                       " enth\u00E4lt keinen Befehl und wurde \u00FCbersprungen.";
            },
            [](const W::DuplicateTitle& w) {
                return quoted(w.title) + " kommt in " + quoted(w.path) + " mehrfach vor.";
            },
            [](const W::InvalidShortcut& w) {
                return "Ung\u00FCltiges Tastaturk\u00FCrzel " + quoted(w.raw) + " bei " +
                       quoted(w.title) + " \u2014 wurde ignoriert.";
            },
            [](const W::SkippedEntry& w) {
                return "Eintrag in " + quoted(w.path) + " \u00FCbersprungen: " + w.reason;
            },
        },
        kind);
}

std::string_view ConfigurationWarning::kindName() const {
    static constexpr std::array<std::string_view, std::variant_size_v<Kind>> names{
        "unknownKey",     "unsupportedTerminal", "emptyTitle",  "emptyCommand",
        "duplicateTitle", "invalidShortcut",     "skippedEntry"};
    return names[kind.index()];
}

} // namespace kelvane

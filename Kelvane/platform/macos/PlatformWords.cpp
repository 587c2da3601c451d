#include "Kelvane/platform/PlatformWords.hpp"

namespace kelvane {

const PlatformWords& platformWords() {
    static const PlatformWords words{
        .modifierNames = {{{ModifierKey::control, "\u2303"},
                           {ModifierKey::option, "\u2325"},
                           {ModifierKey::shift, "\u21E7"},
                           {ModifierKey::command, "\u2318"}}},
        .modifierSeparator = "",
        .specialKeyNames = {{{36, "\u21A9"}, {48, "\u21E5"}, {51, "\u232B"}, {53, "\u238B"}}},
        .revealInFileManager = "Im Finder zeigen",
        .loginItemDisabledNote =
            "In den Systemeinstellungen unter \u201EAllgemein \u203A Anmeldeobjekte\u201C "
            "deaktiviert.",
        .terminalThatDidNotStart = "Terminal.app",
        .terminalProgramNote = "Weitere Terminals (iTerm2, Ghostty, WezTerm) sind vorbereitet, "
                               "aber in dieser Version noch nicht aktiv.",
        .tabNote = "Neue Tabs ben\u00F6tigen die Bedienungshilfen-Berechtigung. Ohne sie "
                   "\u00F6ffnet Kelvane automatisch ein neues Fenster.",
        .privacySettings =
            PrivacySettings{
                .buttonTitle = "Systemeinstellungen \u00F6ffnen",
                .accessibilityURL = "x-apple.systempreferences:com.apple.preference.security?"
                                    "Privacy_Accessibility",
                .automationURL = "x-apple.systempreferences:com.apple.preference.security?"
                                 "Privacy_Automation",
            },
    };
    return words;
}

} // namespace kelvane

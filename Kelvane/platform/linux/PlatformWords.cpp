#include "Kelvane/platform/PlatformWords.hpp"

namespace kelvane {

const PlatformWords& platformWords() {
    // In the order KDE and Qt name them; Super stands where a Mac keyboard has Control.
    static const PlatformWords words{
        .modifierNames = {{{ModifierKey::control, "Super"},
                           {ModifierKey::command, "Strg"},
                           {ModifierKey::option, "Alt"},
                           {ModifierKey::shift, "Umschalt"}}},
        .modifierSeparator = "+",
        .specialKeyNames = {{{36, "\u21A9"}, {48, "Tab"}, {51, "R\u00FCcktaste"}, {53, "Esc"}}},
        .revealInFileManager = "Im Dateimanager zeigen",
        .loginItemDisabledNote = "In den Autostart-Einstellungen der Arbeitsumgebung deaktiviert.",
        .terminalThatDidNotStart = "Das Terminalprogramm",
        .terminalProgramNote =
            "\u201ENeuer Tab\u201C und \u201EAktuelles Fenster\u201C \u00F6ffnen "
            "mit diesem Programm ein neues Fenster.",
        .tabNote = std::nullopt,
        .privacySettings = std::nullopt,
    };
    return words;
}

} // namespace kelvane

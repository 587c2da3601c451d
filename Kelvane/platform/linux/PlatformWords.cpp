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
        .tabNote = std::nullopt,
        .privacySettings = std::nullopt,
    };
    return words;
}

} // namespace kelvane

#include "KelvaneCore/Terminal/TerminalExecutionError.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using Error = TerminalExecutionError;
using Unsafe = Error::UnsafeCommandText;

TEST(TerminalExecutionError, classifiesAppleScriptErrorNumbers) {
    struct Case {
        ScriptError scriptError;
        Error::Case expected;
    };
    const Case cases[] = {
        {{-1743, "x"}, Error::AutomationPermissionDenied{}},
        {{-1719, "x"}, Error::AccessibilityPermissionRequired{}},
        {{-25211, "x"}, Error::AccessibilityPermissionRequired{}},
        {{-600, "x"}, Error::TerminalUnavailable{}},
        {{-2740, "M"}, Error::ScriptFailed{-2740, "M"}},
        {{std::nullopt, "M"}, Error::ScriptFailed{0, "M"}},
        {{-1, std::nullopt}, Error::ScriptFailed{-1, "Unbekannter Fehler"}},
        {ScriptError::notCreated(), Error::ScriptFailed{-1, "Script konnte nicht erzeugt werden."}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Error::fromScriptError(c.scriptError).errorCase(), c.expected)
            << c.scriptError.number.value_or(0);
    }
}

TEST(TerminalExecutionError, describesEveryCaseInGerman) {
    struct Case {
        Error::Case errorCase;
        std::string description;
        std::optional<std::string> suggestion;
    };
    const Case cases[] = {
        {Error::ScriptFailed{-2740, "M"}, "Terminal meldete einen Fehler (-2740): M", std::nullopt},
        {Error::AutomationPermissionDenied{}, "Kelvane darf Terminal.app nicht steuern.",
         "Aktiviere Kelvane unter \u201ESystemeinstellungen \u203A Datenschutz & Sicherheit "
         "\u203A Automation\u201C f\u00FCr Terminal."},
        {Error::AccessibilityPermissionRequired{},
         "F\u00FCr neue Tabs ben\u00F6tigt Kelvane die Bedienungshilfen-Berechtigung.",
         "Aktiviere Kelvane unter \u201ESystemeinstellungen \u203A Datenschutz & Sicherheit "
         "\u203A Bedienungshilfen\u201C \u2014 oder stelle in den Einstellungen auf \u201ENeues "
         "Fenster\u201C um."},
        {Error::TerminalUnavailable{}, "Terminal.app konnte nicht gestartet werden.", std::nullopt},
        {Unsafe{Unsafe::Part::command, Unsafe::Defect::nulCharacter},
         "Der Befehl enth\u00E4lt ein Nullzeichen und kann nicht unver\u00E4ndert an Terminal "
         "\u00FCbergeben werden.",
         "Korrigiere den Eintrag in der Konfigurationsdatei."},
        {Unsafe{Unsafe::Part::workingDirectory, Unsafe::Defect::invalidUTF8},
         "Das Arbeitsverzeichnis enth\u00E4lt ung\u00FCltiges UTF-8 und kann nicht "
         "unver\u00E4ndert "
         "an Terminal \u00FCbergeben werden.",
         "Korrigiere den Eintrag in der Konfigurationsdatei."},
    };
    for (const Case& c : cases) {
        const Error error(c.errorCase);
        EXPECT_EQ(error.errorDescription(), c.description);
        EXPECT_STREQ(error.what(), c.description.c_str());
        EXPECT_EQ(error.recoverySuggestion(), c.suggestion) << c.description;
    }
}

} // namespace
} // namespace kelvane

#include "KelvaneCore/Configuration/ConfigurationError.hpp"
#include "KelvaneCore/Configuration/ConfigurationWarning.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using E = ConfigurationError;
using W = ConfigurationWarning;

TEST(ConfigurationError, describesEachCaseInGerman) {
    struct Case {
        E::Case error;
        std::string text;
    };
    const Case cases[] = {
        {E::InvalidJSON{"Unerwartetes Ende.", std::nullopt}, "Unerwartetes Ende."},
        {E::Unreadable{"/tmp/k.json", "Keine Berechtigung"},
         "\u201E/tmp/k.json\u201C konnte nicht gelesen werden: Keine Berechtigung"},
        {E::OutOfMemory{}, "Nicht genug Arbeitsspeicher, um die Konfiguration zu laden."},
    };
    for (const Case& c : cases) {
        const ConfigurationError error(c.error);
        EXPECT_EQ(error.errorDescription(), c.text);
        EXPECT_STREQ(error.what(), c.text.c_str());
        EXPECT_FALSE(error.recoverySuggestion().has_value());
    }
}

TEST(ConfigurationWarning, writesEachKindsGermanMessage) {
    struct Case {
        W::Kind kind;
        std::string_view name;
        std::string message;
    };
    const Case cases[] = {
        {W::UnknownKey{"settings.x"}, "unknownKey",
         "Unbekannter Schl\u00FCssel \u201Esettings.x\u201C wurde ignoriert."},
        {W::UnsupportedTerminal{"Hyper"}, "unsupportedTerminal",
         "Terminal \u201EHyper\u201C wird (noch) nicht unterst\u00FCtzt \u2014 Terminal.app wird "
         "verwendet."},
        {W::UnsupportedTerminal{"Hyper", "Standardterminal \u201Elxterm\u201C"},
         "unsupportedTerminal",
         "Terminal \u201EHyper\u201C wird (noch) nicht unterst\u00FCtzt \u2014 Standardterminal "
         "\u201Elxterm\u201C wird verwendet."},
        {W::EmptyTitle{"items"}, "emptyTitle",
         "Eintrag ohne Namen in \u201Eitems\u201C \u2014 der Befehl wird als Name angezeigt."},
        {W::EmptyCommand{"Build"}, "emptyCommand",
         "Eintrag \u201EBuild\u201C enth\u00E4lt keinen Befehl und wurde \u00FCbersprungen."},
        {W::DuplicateTitle{"Men\u00FC", "Deploy"}, "duplicateTitle",
         "\u201EDeploy\u201C kommt in \u201EMen\u00FC\u201C mehrfach vor."},
        {W::InvalidShortcut{"Logs", "cmd+"}, "invalidShortcut",
         "Ung\u00FCltiges Tastaturk\u00FCrzel \u201Ecmd+\u201C bei \u201ELogs\u201C \u2014 wurde "
         "ignoriert."},
        {W::SkippedEntry{"items \u203A Server", "kein Objekt"}, "skippedEntry",
         "Eintrag in \u201Eitems \u203A Server\u201C \u00FCbersprungen: kein Objekt"},
        {W::DuplicateKey{"items \u203A Server", "command"}, "duplicateKey",
         "Schl\u00FCssel \u201Ecommand\u201C in einem Eintrag in \u201Eitems \u203A Server\u201C "
         "kommt mehrfach vor \u2014 der letzte Wert gilt."},
        {W::DuplicateKey{"", "settings.openIn"}, "duplicateKey",
         "Schl\u00FCssel \u201Esettings.openIn\u201C kommt mehrfach vor \u2014 der letzte Wert "
         "gilt."},
        {W::MoreWarnings{1}, "moreWarnings",
         "1 weiterer Hinweis wird nicht einzeln aufgef\u00FChrt."},
        {W::MoreWarnings{19900}, "moreWarnings",
         "19900 weitere Hinweise werden nicht einzeln aufgef\u00FChrt."},
    };
    for (const Case& c : cases) {
        const W warning{c.kind};
        EXPECT_EQ(warning.message(), c.message);
        EXPECT_EQ(warning.kindName(), c.name);
    }
}

} // namespace
} // namespace kelvane

#include "KelvaneCore/Terminal/TerminalExecutionError.hpp"

#include "KelvaneCore/Configuration/Overloaded.hpp"

namespace kelvane {

namespace {

std::string unsafeTextDescription(const TerminalExecutionError::UnsafeCommandText& unsafe) {
    using Unsafe = TerminalExecutionError::UnsafeCommandText;
    const std::string subject = unsafe.part == Unsafe::Part::command
                                    ? "Der Befehl enth\u00E4lt "
                                    : "Das Arbeitsverzeichnis enth\u00E4lt ";
    const std::string defect =
        unsafe.defect == Unsafe::Defect::nulCharacter ? "ein Nullzeichen" : "ung\u00FCltiges UTF-8";
    return subject + defect + " und kann nicht unver\u00E4ndert an Terminal \u00FCbergeben werden.";
}

} // namespace

TerminalExecutionError::TerminalExecutionError(Case errorCase)
    : m_case(std::move(errorCase)), m_description(errorDescription()) {}

TerminalExecutionError TerminalExecutionError::fromScriptError(const ScriptError& error) {
    const std::int64_t number = error.number.value_or(0);
    switch (number) {
    case -1743: // errAEEventNotPermitted
    case -1744: // errAEEventWouldRequireUserConsent
        return TerminalExecutionError(AutomationPermissionDenied{});
    case -1719:  // errAEIllegalIndex: System Events without assistive access
    case -25211: // kAXErrorAPIDisabled
        return TerminalExecutionError(AccessibilityPermissionRequired{});
    case -600:   // procNotFound
    case -1728:  // errAENoSuchObject
    case -10814: // kLSApplicationNotFoundErr
        return TerminalExecutionError(TerminalUnavailable{
            error.recoverySuggestion, error.application.value_or("Terminal.app")});
    default:
        return TerminalExecutionError(
            ScriptFailed{number, error.message.value_or("Unbekannter Fehler")});
    }
}

std::string TerminalExecutionError::errorDescription() const {
    return std::visit(
        Overloaded{
            [](const ScriptFailed& failed) {
                return "Terminal meldete einen Fehler (" + std::to_string(failed.code) +
                       "): " + failed.message;
            },
            [](const AutomationPermissionDenied&) {
                return std::string("Kelvane darf Terminal.app nicht steuern.");
            },
            [](const AccessibilityPermissionRequired&) {
                return std::string("F\u00FCr neue Tabs ben\u00F6tigt Kelvane die "
                                   "Bedienungshilfen-Berechtigung.");
            },
            [](const TerminalUnavailable& unavailable) {
                return unavailable.application + " konnte nicht gestartet werden.";
            },
            [](const UnsafeCommandText& unsafe) { return unsafeTextDescription(unsafe); },
        },
        m_case);
}

std::optional<std::string> TerminalExecutionError::recoverySuggestion() const {
    if (std::holds_alternative<AutomationPermissionDenied>(m_case))
        return "Aktiviere Kelvane unter \u201ESystemeinstellungen \u203A Datenschutz & "
               "Sicherheit \u203A Automation\u201C f\u00FCr Terminal.";
    if (std::holds_alternative<AccessibilityPermissionRequired>(m_case))
        return "Aktiviere Kelvane unter \u201ESystemeinstellungen \u203A Datenschutz & "
               "Sicherheit \u203A Bedienungshilfen\u201C \u2014 oder stelle in den "
               "Einstellungen auf \u201ENeues Fenster\u201C um.";
    if (const auto* unavailable = std::get_if<TerminalUnavailable>(&m_case))
        return unavailable->recoverySuggestion;
    if (std::holds_alternative<UnsafeCommandText>(m_case))
        return "Korrigiere den Eintrag in der Konfigurationsdatei.";
    return std::nullopt;
}

} // namespace kelvane

#pragma once

#include "KelvaneCore/Terminal/ScriptEngine.hpp"

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <variant>

namespace kelvane {

/// Why a command could not be started in Terminal. `what()` is the German text shown to the
/// user.
class TerminalExecutionError : public std::exception {
public:
    /// The script engine reported an error this program has no better name for.
    struct ScriptFailed {
        std::int64_t code = 0;
        std::string message;
        bool operator==(const ScriptFailed&) const = default;
    };
    /// The user has not allowed this program to control Terminal.
    struct AutomationPermissionDenied {
        bool operator==(const AutomationPermissionDenied&) const = default;
    };
    /// Opening a tab needs the Accessibility permission, which is missing.
    struct AccessibilityPermissionRequired {
        bool operator==(const AccessibilityPermissionRequired&) const = default;
    };
    /// Terminal could not be found or started.
    struct TerminalUnavailable {
        /// The engine's advice, if it gave one.
        std::optional<std::string> recoverySuggestion = std::nullopt;
        /// The program that did not start, as the start of a sentence.
        std::string application = "Terminal.app";
        bool operator==(const TerminalUnavailable&) const = default;
    };
    /// The command holds text that no script can carry unchanged; nothing was run.
    struct UnsafeCommandText {
        enum class Part { command, workingDirectory };
        enum class Defect { nulCharacter, invalidUTF8 };
        Part part = Part::command;
        Defect defect = Defect::nulCharacter;
        bool operator==(const UnsafeCommandText&) const = default;
    };
    using Case =
        std::variant<ScriptFailed, AutomationPermissionDenied, AccessibilityPermissionRequired,
                     TerminalUnavailable, UnsafeCommandText>;

    explicit TerminalExecutionError(Case errorCase);

    /// Classifies an AppleScript error: permission and availability errors get their own case,
    /// everything else becomes `ScriptFailed` (number 0 and "Unbekannter Fehler" stand in for
    /// missing parts).
    static TerminalExecutionError fromScriptError(const ScriptError& error);

    const Case& errorCase() const { return m_case; }

    /// The user-visible German text.
    std::string errorDescription() const;
    /// What the user can do about it, where there is something to do.
    std::optional<std::string> recoverySuggestion() const;

    const char* what() const noexcept override { return m_description.c_str(); }

    bool operator==(const TerminalExecutionError& other) const { return m_case == other.m_case; }

private:
    Case m_case;
    std::string m_description;
};

} // namespace kelvane

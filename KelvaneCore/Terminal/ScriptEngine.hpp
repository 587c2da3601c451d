#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvane {

/// What a script engine reports when a script failed. Either part may be missing, as in the
/// error dictionary of the platform's engine.
struct ScriptError {
    std::optional<std::int64_t> number;
    std::optional<std::string> message;
    /// What the user can do about it, in German, where the engine knows more than its number
    /// tells; shown beside the error.
    std::optional<std::string> recoverySuggestion = std::nullopt;
    /// The program that could not be started, as the start of a sentence, where it is not
    /// Terminal.app.
    std::optional<std::string> application = std::nullopt;

    /// The answer when no script could be created from the source at all.
    static ScriptError notCreated() { return {-1, "Script konnte nicht erzeugt werden."}; }

    bool operator==(const ScriptError&) const = default;
};

/// Compiles and runs AppleScript source for the Terminal application.
class ScriptEngine {
public:
    virtual ~ScriptEngine() = default;

    /// Runs the script to its end. None on success, otherwise the engine's error.
    virtual std::optional<ScriptError> execute(const std::string& source) = 0;
};

} // namespace kelvane

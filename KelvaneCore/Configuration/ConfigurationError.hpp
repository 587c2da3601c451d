#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <variant>

namespace kelvane {

/// Why a configuration file could not be loaded at all. Thrown; `what()` is the German text
/// shown to the user.
class ConfigurationError : public std::exception {
public:
    /// Where in the file a syntax error was found, as the user's editor counts it.
    struct SourceLocation {
        int64_t line = 0;
        int64_t column = 0;
        bool operator==(const SourceLocation&) const = default;
    };

    /// The text is not valid JSON even after comments and trailing commas were removed.
    struct InvalidJSON {
        std::string message;
        std::optional<SourceLocation> location;
        bool operator==(const InvalidJSON&) const = default;
    };
    /// The JSON is valid but its top level does not have the required shape.
    struct UnexpectedStructure {
        std::string detail;
        bool operator==(const UnexpectedStructure&) const = default;
    };
    /// Reading the file failed; `underlying` is the read error's own description.
    struct Unreadable {
        std::string path;
        std::string underlying;
        bool operator==(const Unreadable&) const = default;
    };
    /// The memory ran out while the file was read or loaded; the load was abandoned whole.
    struct OutOfMemory {
        bool operator==(const OutOfMemory&) const = default;
    };
    using Case = std::variant<InvalidJSON, UnexpectedStructure, Unreadable, OutOfMemory>;

    explicit ConfigurationError(Case errorCase);

    const Case& errorCase() const { return m_case; }

    /// The user-visible German text.
    std::string errorDescription() const;
    /// Always none: the error brings no recovery text of its own.
    std::optional<std::string> recoverySuggestion() const { return std::nullopt; }

    const char* what() const noexcept override { return m_description.c_str(); }

    bool operator==(const ConfigurationError& other) const { return m_case == other.m_case; }

private:
    Case m_case;
    std::string m_description;
};

} // namespace kelvane

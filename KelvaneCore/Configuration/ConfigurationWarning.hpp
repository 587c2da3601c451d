#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelvane {

/// A problem in a configuration file that the loader repaired or skipped.
struct ConfigurationWarning {
    /// A top-level or settings key the format does not define.
    struct UnknownKey {
        std::string key;
        bool operator==(const UnknownKey&) const = default;
    };
    /// A terminal program other than Terminal.app, as written.
    struct UnsupportedTerminal {
        std::string name;
        /// The program that runs the commands instead, as the message names it; the
        /// application puts in the one this system uses.
        std::string usedInstead = "Terminal.app";
        bool operator==(const UnsupportedTerminal&) const = default;
    };
    struct EmptyTitle {
        std::string path;
        bool operator==(const EmptyTitle&) const = default;
    };
    struct EmptyCommand {
        std::string title;
        bool operator==(const EmptyCommand&) const = default;
    };
    struct DuplicateTitle {
        std::string path;
        std::string title;
        bool operator==(const DuplicateTitle&) const = default;
    };
    struct InvalidShortcut {
        std::string title;
        std::string raw;
        bool operator==(const InvalidShortcut&) const = default;
    };
    struct SkippedEntry {
        std::string path;
        std::string reason;
        bool operator==(const SkippedEntry&) const = default;
    };
    /// A member name that occurs more than once in one object: the last occurrence counts, as
    /// it does for the common JSON tools. `path` is the entry's path, empty outside entries.
    struct DuplicateKey {
        std::string path;
        std::string key;
        bool operator==(const DuplicateKey&) const = default;
    };
    /// Stands last for the warnings of a load that were counted but not kept.
    struct MoreWarnings {
        std::size_t count = 0;
        bool operator==(const MoreWarnings&) const = default;
    };
    using Kind =
        std::variant<UnknownKey, UnsupportedTerminal, EmptyTitle, EmptyCommand, DuplicateTitle,
                     InvalidShortcut, SkippedEntry, DuplicateKey, MoreWarnings>;

    Kind kind;

    /// The user-visible German text.
    std::string message() const;
    /// The name of the kind in lower camel case ("unknownKey", "skippedEntry", ...).
    std::string_view kindName() const;

    bool operator==(const ConfigurationWarning&) const = default;
};

/// How many warnings a load found: the ones kept, and those that a last `MoreWarnings` counts.
std::size_t countOfWarnings(const std::vector<ConfigurationWarning>& warnings);

} // namespace kelvane

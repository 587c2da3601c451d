#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <string>
#include <string_view>
#include <vector>

/// Decides whether a command must be confirmed before it runs, from a fixed table of dangerous
/// shell constructs and the entry's own confirmation flag. Pure and safe to call from any
/// thread.
namespace kelvane::CommandRiskScanner {

/// One reason to ask before running a command.
struct Finding {
    /// German text for the confirmation dialog.
    std::string reason;
    /// The bytes of the command text that the rule matched first; empty when the finding does
    /// not come from a match.
    std::string matched;

    bool operator==(const Finding&) const = default;
};

/// The findings in the order of the kinds of danger, at most one per kind: first the nine of
/// the pattern table, then those that only the reading of the text as shell words shows
/// (options in any spelling, quoted or escaped command names, wrappers such as `sudo` or
/// `xargs`, texts handed to `sh -c`, `eval`, `ssh` or piped into a shell). Words that are only
/// data of a command that runs nothing (`man sudo`, a commit message) find nothing. A text
/// that could not be read completely (hostile nesting or backtracking, say) gets one extra
/// finding at the end saying so, so that it is never taken for harmless. Ill-formed UTF-8 is
/// searched as U+FFFD and NUL as an ordinary character; `matched` holds the original bytes,
/// or the bytes of the text the command hands on.
std::vector<Finding> scan(std::string_view command);

/// What the entry and the scanner switch say together: nothing when the entry opts out or,
/// without a flag of its own, when the scanner is off; `scan` of the command text otherwise,
/// and for an entry marked for confirmation at least the configuration marker.
std::vector<Finding> requiresConfirmation(const ShellCommand& command, bool scannerEnabled);

} // namespace kelvane::CommandRiskScanner

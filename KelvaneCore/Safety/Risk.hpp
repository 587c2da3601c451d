#pragma once

#include <cstddef>

namespace kelvane {

/// The kinds of danger the risk scanner reports, in the order of its findings: the nine of
/// the pattern table first, then those only the reading of the shell words finds.
enum class Risk : std::size_t {
    deletes,
    runsAsAdministrator,
    writesRaw,
    formats,
    runsDownload,
    writesDrive,
    worldWritable,
    shutsDown,
    forkBomb,
    discardsGitChanges,
    rewritesRemoteHistory,
    killsAllProcesses,
    overwritesFiles,
    truncatesFiles,
    changesPartitions,
    wipesDrive,
    runsObfuscatedCode,
};

inline constexpr std::size_t riskCount = static_cast<std::size_t>(Risk::runsObfuscatedCode) + 1;

} // namespace kelvane

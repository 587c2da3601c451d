#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"

#include <filesystem>
#include <optional>
#include <vector>

namespace kelvane {

/// A Shuttle file that loads, and the question that offers to take it over.
struct ShuttleImportOffer {
    std::filesystem::path source;
    Alert alert;
};

/// Taking over the user's Shuttle configuration on the first run.
namespace ShuttleImport {

/// The offer for the first of `candidates`, or none when there is none or it cannot be read or
/// loaded (legacy entries sorted alphabetically, version 2 entries in file order).
std::optional<ShuttleImportOffer> offer(const std::vector<std::filesystem::path>& candidates);

/// Replaces `target` with a byte-for-byte copy of `source`, readable by the user only. The
/// replacement is atomic, so a failure leaves `target` as it was; a target that holds entries
/// (or that does not load) is kept as `<target>.backup` first. Throws `FileError`.
void copyInPlace(const std::filesystem::path& source, const std::filesystem::path& target);

} // namespace ShuttleImport
} // namespace kelvane

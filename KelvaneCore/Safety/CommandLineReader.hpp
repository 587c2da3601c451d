#pragma once

#include "KelvaneCore/Safety/Risk.hpp"

#include <array>
#include <optional>
#include <string>
#include <string_view>

/// The risk scanner's reading of a command text as the shell runs it: every command that
/// runs is judged however it is spelt, wrapped or nested, and texts that a command hands to
/// a shell (`sh -c`, `eval`, `ssh`, `su -c`, a pipe into a shell) are read as commands too.
namespace kelvane::CommandLineReader {

struct Reading {
    /// For each kind of danger found, the text that shows it first: bytes of the command
    /// text, or of a text that the command hands to a shell.
    std::array<std::optional<std::string>, riskCount> matched;
    /// The command text with every byte of an argument that its command only reads as data
    /// (`man sudo`, `echo …`, a commit message) replaced by 0x1F, for the patterns to search.
    std::string searchable;
    /// False when nesting was too deep, or the texts handed on too long, to read them all.
    bool complete = true;
};

Reading read(std::string_view command);

} // namespace kelvane::CommandLineReader

#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <cstddef>
#include <string>

namespace kelvane::bench {

/// A realistic configuration: `commandCount` commands spread evenly over `groupCount`
/// top-level groups, with varied titles, some icons, shortcuts and working directories.
/// The same arguments always give the same titles and commands.
Configuration makeConfiguration(std::size_t commandCount, std::size_t groupCount);

/// The same configuration as a version 2 file.
std::string makeV2Text(std::size_t commandCount, std::size_t groupCount);

/// `commandCount` commands in top-level groups of `groupSize`, each titled with two to five
/// everyday words. The same arguments always give the same titles and commands.
Configuration makeEverydayConfiguration(std::size_t commandCount, std::size_t groupSize);

/// Files shaped to make a load or a search do work that grows faster than their size.
enum class HostileShape {
    /// One group whose title takes half the file, holding entries that are not objects.
    longTitledGroupOfWrongEntries,
    /// Groups nested 150 deep, each with a long title, a command and an entry that is not an
    /// object.
    deepGroupsWithLongTitles,
    /// One group whose non-ASCII title takes half the file, holding short commands.
    longUmlautTitledGroupOfCommands,
    /// The same with an ASCII title.
    longAsciiTitledGroupOfCommands,
    /// Nothing but a list of numbers.
    listOfNumbers,
};

/// A version 2 file of about `bytes` bytes in the given shape.
std::string makeHostileV2Text(HostileShape shape, std::size_t bytes);

} // namespace kelvane::bench

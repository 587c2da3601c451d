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

} // namespace kelvane::bench

#pragma once

#include "KelvaneCore/Safety/Risk.hpp"
#include "KelvaneCore/Safety/ShellWords.hpp"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

/// What one command does when it runs, judged from its name and its arguments with their
/// options understood, whatever wrapper runs it.
namespace kelvane::CommandDangers {

struct Danger {
    Risk risk;
    /// The last argument that shows the danger; none when the command's name alone does.
    std::optional<std::size_t> lastArgument;

    bool operator==(const Danger&) const = default;
};

/// `name` is the command's file name in lower case, without its folder. `moreOperands` says
/// that operands are added when it runs (by xargs, or find's `{}`).
std::vector<Danger> of(std::string_view name, std::span<const ShellWords::Word> arguments,
                       bool moreOperands);

/// A path that names a whole drive or a partition: `/dev/sda`, `/dev/rdisk4`, `/dev/nvme0n1p2`.
bool isDrive(std::string_view path);

} // namespace kelvane::CommandDangers

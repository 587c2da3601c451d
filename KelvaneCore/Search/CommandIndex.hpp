#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

/// The commands of a configuration in menu order, cut down to what a search reads and shows,
/// as views into texts that something else keeps alive: the configuration it was made of, or a
/// stored copy of such an index.
struct CommandIndex {
    /// The group of a command or of a group at the top level.
    static constexpr std::uint32_t topLevel = UINT32_MAX;

    struct Group {
        /// The enclosing group, an earlier entry of `groups`, or `topLevel`.
        std::uint32_t parent = topLevel;
        std::string_view title;
        bool operator==(const Group&) const = default;
    };
    struct Command {
        /// An entry of `groups`, or `topLevel`.
        std::uint32_t group = topLevel;
        std::string_view title;
        std::string_view command;
        bool operator==(const Command&) const = default;
    };

    /// Each group after the group that encloses it.
    std::vector<Group> groups;
    /// In the order of `Configuration::allCommands`.
    std::vector<Command> commands;

    /// The index of `configuration`, viewing its texts.
    static CommandIndex of(const Configuration& configuration);

    /// Whether every group and command names an existing earlier group or the top level, which
    /// `search` and `pathOf` rely on.
    bool isWellFormed() const;

    /// The titles of `group` and the groups around it, outermost first.
    std::vector<std::string> pathOf(std::uint32_t group) const;

    struct Hit {
        /// The entry of `commands`.
        std::size_t command = 0;
        std::int64_t score = 0;
        std::vector<std::int64_t> matchedIndices;
        bool operator==(const Hit&) const = default;
    };

    /// The hits of `Configuration::search(query, limit)` for the configuration this index was
    /// made of, in the same order, with the same scores and positions. Needs `isWellFormed()`.
    std::vector<Hit> search(std::string_view query, std::size_t limit) const;

    bool operator==(const CommandIndex&) const = default;
};

} // namespace kelvane

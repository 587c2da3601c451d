#include "KelvaneCore/Search/CommandIndex.hpp"

#include <algorithm>

namespace kelvane {
namespace {

void addNodes(const std::vector<MenuNode>& nodes, std::uint32_t group, CommandIndex& index) {
    for (const MenuNode& node : nodes) {
        if (const ShellCommand* command = node.command()) {
            index.commands.push_back({group, command->title, command->command});
        } else if (const CommandGroup* child = node.group()) {
            index.groups.push_back({group, child->title});
            addNodes(child->items, static_cast<std::uint32_t>(index.groups.size() - 1), index);
        }
    }
}

} // namespace

CommandIndex CommandIndex::of(const Configuration& configuration) {
    CommandIndex index;
    addNodes(configuration.items, topLevel, index);
    return index;
}

bool CommandIndex::isWellFormed() const {
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (groups[i].parent != topLevel && groups[i].parent >= i)
            return false;
    return std::all_of(commands.begin(), commands.end(), [&](const Command& command) {
        return command.group == topLevel || command.group < groups.size();
    });
}

std::vector<std::string> CommandIndex::pathOf(std::uint32_t group) const {
    std::vector<std::string> path;
    for (; group != topLevel; group = groups[group].parent)
        path.emplace_back(groups[group].title);
    std::reverse(path.begin(), path.end());
    return path;
}

} // namespace kelvane

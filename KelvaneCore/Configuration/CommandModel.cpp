#include "KelvaneCore/Configuration/CommandModel.hpp"

#include "KelvaneCore/Configuration/Overloaded.hpp"

namespace kelvane {
namespace {

void visitCommands(const MenuNode& node, std::vector<std::string>& path,
                   const CommandVisitor& visit) {
    if (const ShellCommand* command = node.command()) {
        visit(path, *command);
    } else if (const CommandGroup* group = node.group()) {
        path.push_back(group->title);
        for (const MenuNode& child : group->items)
            visitCommands(child, path, visit);
        path.pop_back();
    }
}

CommandVisitor appendingTo(std::vector<CommandEntry>& result) {
    return [&result](const std::vector<std::string>& path, const ShellCommand& command) {
        result.push_back({path, command});
    };
}

} // namespace

CommandGroup::CommandGroup(Uuid id, std::string title, std::optional<std::string> icon,
                           std::vector<MenuNode> items)
    : title(std::move(title)), icon(std::move(icon)), items(std::move(items)), m_id(id) {}

bool CommandGroup::operator==(const CommandGroup& other) const {
    return m_id == other.m_id && title == other.title && icon == other.icon && items == other.items;
}

const Uuid& MenuNode::id() const {
    return std::visit(Overloaded{[](const ShellCommand& c) -> const Uuid& { return c.id(); },
                                 [](const CommandGroup& g) -> const Uuid& { return g.id(); },
                                 [](const Separator& s) -> const Uuid& {
                                     return s.id;
                                 }},
                      value);
}

std::optional<std::string> MenuNode::title() const {
    if (const ShellCommand* c = command())
        return c->title;
    if (const CommandGroup* g = group())
        return g->title;
    return std::nullopt;
}

std::vector<CommandEntry> MenuNode::flattenedCommands(const std::vector<std::string>& path) const {
    std::vector<CommandEntry> result;
    std::vector<std::string> workingPath = path;
    visitCommands(*this, workingPath, appendingTo(result));
    return result;
}

std::vector<CommandEntry> Configuration::allCommands() const {
    std::vector<CommandEntry> result;
    forEachCommand(appendingTo(result));
    return result;
}

void Configuration::forEachCommand(const CommandVisitor& visit) const {
    std::vector<std::string> path;
    for (const MenuNode& node : items)
        visitCommands(node, path, visit);
}

std::size_t Configuration::commandCount() const {
    std::size_t count = 0;
    forEachCommand([&](const auto&, const auto&) { ++count; });
    return count;
}

} // namespace kelvane

#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

/// Short builders of menu trees for tests.
namespace kelvane::test {

inline MenuNode command(const std::string& title) {
    return {ShellCommand(Uuid::random(), title, "echo " + title, {}, {}, {}, {})};
}

inline MenuNode group(const std::string& title, std::vector<MenuNode> items,
                      std::optional<std::string> icon = std::nullopt) {
    return {CommandGroup(Uuid::random(), title, std::move(icon), std::move(items))};
}

inline MenuNode separator() {
    return {Separator{Uuid::random()}};
}

} // namespace kelvane::test

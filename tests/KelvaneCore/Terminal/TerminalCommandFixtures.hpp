#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <optional>
#include <string>

namespace kelvane::test {

inline ShellCommand shellCommand(std::string command,
                                 std::optional<std::string> workingDirectory = std::nullopt) {
    return ShellCommand(Uuid::random(), "Titel", std::move(command), {}, {},
                        std::move(workingDirectory), {});
}

} // namespace kelvane::test

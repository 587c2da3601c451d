#pragma once

#include "Kelvane/Menu/StatusItemController.hpp"

#include "support/FakeLoginItemService.hpp"
#include "support/RecordingDialogs.hpp"

#include <filesystem>
#include <optional>

namespace kelvane::test {

/// What a status item asks of the desktop, recorded instead of shown, with no file ever chosen;
/// the tray is the real desktop's.
struct FakeDesktop {
    RecordingDialogs dialogs;
    RecordingWorkspace workspace;
    FakeLoginItemService loginItems;
    LaunchAtLogin launchAtLogin{loginItems};

    DesktopServices services() {
        return {dialogs, workspace, launchAtLogin, [](const std::filesystem::path&) {
                    return std::optional<std::filesystem::path>();
                }};
    }
};

} // namespace kelvane::test

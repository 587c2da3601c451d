// The whole way from a key press on a real X server (hotkey-end-to-end.sh starts one) to the
// quick-search panel: the stored combination is grabbed when the status item starts, and xdotool
// presses it as another program's keyboard would.
#include "Kelvane/Menu/StatusItemController.hpp"
#include "Kelvane/platform/Log.hpp"

#include "support/FakeLoginItemService.hpp"
#include "support/FakeTerminalBackend.hpp"
#include "support/InMemoryPreferenceStore.hpp"
#include "support/RecordingDialogs.hpp"
#include "support/TemporaryFolder.hpp"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

TEST(QuickSearchHotKey, theStoredCombinationOpensAndClosesThePanel) {
    std::vector<std::string> logged;
    Log::setSink([&](const Log::Entry& entry) {
        if (entry.category == "hotkey")
            logged.push_back(entry.message);
    });
    test::TemporaryFolder folder;
    folder.write("kelvane.json",
                 R"({"version": 2, "items": [{"title": "Eins", "command": "true"}]})");
    test::InMemoryPreferenceStore preferenceStore;
    Preferences preferences{preferenceStore};
    preferences.setQuickSearchHotKey(HotKeyCombination{40, 768}); // Shift+Command+K
    ConfigStore store{folder / "kelvane.json", preferences};
    test::RecordingDialogs dialogs;
    test::RecordingWorkspace workspace;
    test::FakeLoginItemService loginItems;
    LaunchAtLogin launchAtLogin{loginItems};
    StatusItemController controller(
        store, preferences, std::make_unique<test::FakeTerminalBackend>(), makeHotKeyRegistrar(),
        DesktopServices{dialogs, workspace, launchAtLogin, [](const fs::path&) {
                            return std::optional<fs::path>();
                        }});
    store.start();
    ASSERT_TRUE(logged.empty()) << logged.front();
    ASSERT_EQ(controller.quickSearch(), nullptr);

    const auto panelVisible = [&] {
        return controller.quickSearch() && controller.quickSearch()->isPanelVisible();
    };
    ASSERT_EQ(QProcess::execute("xdotool", {"key", "ctrl+shift+k"}), 0);
    EXPECT_TRUE(QTest::qWaitFor(panelVisible, 10000));
    ASSERT_EQ(QProcess::execute("xdotool", {"key", "ctrl+shift+k"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panelVisible(); }, 10000));
    Log::setSink({});
}

} // namespace
} // namespace kelvane

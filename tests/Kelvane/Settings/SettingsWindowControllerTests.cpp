#include "Kelvane/Settings/SettingsWindowController.hpp"

#include "support/FakeHotKeyRegistrar.hpp"
#include "support/FakeLoginItemService.hpp"
#include "support/RecordingDialogs.hpp"
#include "support/SettingsPaneFixture.hpp"

#include <QTabWidget>

namespace kelvane {
namespace {

class SettingsWindowControllerTest : public test::SettingsPaneTest {
protected:
    test::FakeLoginItemService loginItems;
    LaunchAtLogin launchAtLogin{loginItems};
    test::RecordingDialogs dialogs;
    test::RecordingWorkspace workspace;
    HotKeyService hotKeys{std::make_unique<test::FakeHotKeyRegistrar>()};
    SettingsWindowController controller{preferences,
                                        store,
                                        {},
                                        hotKeys,
                                        launchAtLogin,
                                        dialogs,
                                        workspace,
                                        [](const std::filesystem::path&) {
                                            return std::optional<std::filesystem::path>();
                                        }};
};

TEST_F(SettingsWindowControllerTest, aFixedWindowWithThreeTabs) {
    QWidget& window = *controller.window();
    EXPECT_EQ(window.windowTitle(), "Kelvane Einstellungen");
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(window.isVisible());

    const auto* tabs = window.findChild<QTabWidget*>("settingsTabs");
    ASSERT_NE(tabs, nullptr);
    QStringList titles;
    for (int index = 0; index < tabs->count(); ++index) {
        titles << tabs->tabText(index);
        EXPECT_FALSE(tabs->tabIcon(index).isNull()) << index;
    }
    EXPECT_EQ(titles, QStringList({"Allgemein", "Terminal", "Erweitert"}));
}

} // namespace
} // namespace kelvane

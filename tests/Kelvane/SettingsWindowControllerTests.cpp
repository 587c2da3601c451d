#include "Kelvane/SettingsWindowController.hpp"

#include "support/FakeLoginItemService.hpp"
#include "support/RecordingDialogs.hpp"
#include "support/SettingsPaneFixture.hpp"

#include <QApplication>
#include <QTabWidget>
#include <QTest>

namespace kelvane {
namespace {

class SettingsWindowControllerTest : public test::SettingsPaneTest {
protected:
    test::FakeLoginItemService loginItems;
    LaunchAtLogin launchAtLogin{loginItems};
    test::RecordingDialogs dialogs;
    test::RecordingWorkspace workspace;
    SettingsWindowController controller{preferences,
                                        store,
                                        {},
                                        launchAtLogin,
                                        dialogs,
                                        workspace,
                                        [](const std::filesystem::path&) {
                                            return std::optional<std::filesystem::path>();
                                        }};
};

TEST_F(SettingsWindowControllerTest, aFixedWindowWithThreeTabs) {
    QWidget& window = *controller.window();
    EXPECT_EQ(window.objectName(), "settingsWindow");
    EXPECT_EQ(window.windowTitle(), "Kelvane Einstellungen");
    EXPECT_EQ(window.minimumSize(), QSize(520, 380));
    EXPECT_EQ(window.maximumSize(), QSize(520, 380));
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

TEST_F(SettingsWindowControllerTest, closingOnlyHidesTheWindow) {
    controller.showWindow();
    QWidget* window = controller.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QPoint position = window->pos();
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());

    controller.showWindow();
    EXPECT_EQ(controller.window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), position);
}

} // namespace
} // namespace kelvane

#include "Kelvane/Settings/SettingsWindowController.hpp"

#include "Kelvane/Settings/SettingsView.hpp"

#include "support/FakeDesktop.hpp"
#include "support/FakeHotKeyRegistrar.hpp"
#include "support/SettingsPaneFixture.hpp"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>

namespace kelvane {
namespace {

class SettingsWindowControllerTest : public test::SettingsPaneTest {
protected:
    test::FakeDesktop desktop;
    HotKeyService hotKeys{std::make_unique<test::FakeHotKeyRegistrar>()};
    SettingsWindowController controller{preferences,
                                        store,
                                        {},
                                        hotKeys,
                                        desktop.launchAtLogin,
                                        desktop.dialogs,
                                        desktop.workspace,
                                        [](const std::filesystem::path&) {
                                            return std::optional<std::filesystem::path>();
                                        }};
};

// With the rows that show only now and then (the problem, the tab note) coming after the window
// was made, so that it has to grow.
TEST_F(SettingsWindowControllerTest, aWindowOfFixedSizeWithThreeTabsThatShowAllWithoutScrolling) {
    QWidget& window = *controller.window();
    EXPECT_EQ(window.windowTitle(), "Kelvane Einstellungen");
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(window.isVisible());

    auto* tabs = window.findChild<QTabWidget*>("settingsTabs");
    ASSERT_NE(tabs, nullptr);
    QStringList titles;
    for (int index = 0; index < tabs->count(); ++index) {
        titles << tabs->tabText(index);
        EXPECT_FALSE(tabs->tabIcon(index).isNull()) << index;
    }
    EXPECT_EQ(titles, QStringList({"Allgemein", "Terminal", "Erweitert"}));

    load(test::configurationText(false, 3, "tab"));
    folder.write(file.filename().string(), "{\"version\": 2, \"items\": [");
    store.reload();
    ASSERT_TRUE(store.problem());
    window.show();
    for (int index = 0; index < tabs->count(); ++index) {
        tabs->setCurrentIndex(index);
        QApplication::processEvents();
        QWidget& pane = *tabs->currentWidget();
        SCOPED_TRACE(pane.objectName().toStdString());
        EXPECT_EQ(window.size().expandedTo(SettingsView::leastSize), window.size());
        EXPECT_GE(window.width(), pane.sizeHint().width());
        EXPECT_GE(window.height(), pane.sizeHint().height());
        EXPECT_GE(pane.height(), pane.heightForWidth(pane.width()));
        for (const QLabel* label : pane.findChildren<QLabel*>()) {
            if (label->isVisible() && label->wordWrap()) {
                EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                    << label->text().toStdString();
            }
        }
        for (const QScrollBar* bar : window.findChildren<QScrollBar*>())
            EXPECT_FALSE(bar->isVisible());
    }
    EXPECT_TRUE(window.findChild<QWidget*>("problemNote")->isVisible());
}

} // namespace
} // namespace kelvane

#include "Kelvane/QuickSearch/QuickSearchController.hpp"
#include "Kelvane/QuickSearch/QuickSearchView.hpp"

#include "support/RecordingDialogs.hpp"
#include "support/StoreWithCommands.hpp"

#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

class QuickSearchControllerTest : public ::testing::Test {
protected:
    QuickSearchControllerTest() { files.store.reload(); }

    QuickSearchView& view() { return *controller.panel()->findChild<QuickSearchView*>(); }
    QLineEdit& field() { return *view().findChild<QLineEdit*>("quickSearchField"); }
    void waitForRuns(std::size_t count) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return runs.size() >= count; }, 5000));
    }

    test::StoreWithCommands files{{"Alpha", "Beta", "Gamma"}};
    test::RecordingWorkspace workspace;
    /// Each run's title, and whether the panel was still visible when the command arrived.
    std::vector<std::pair<std::string, bool>> runs;
    QuickSearchController controller{files.store,
                                     [this](const ShellCommand& command) {
                                         runs.emplace_back(command.title,
                                                           controller.isPanelVisible());
                                     },
                                     workspace};
};

TEST_F(QuickSearchControllerTest, togglingHidesAndShowsAgainWithAnEmptySearch) {
    EXPECT_EQ(controller.panel(), nullptr);
    controller.toggle();
    ASSERT_NE(controller.panel(), nullptr);
    QWidget* panel = controller.panel();
    EXPECT_TRUE(controller.isPanelVisible());
    EXPECT_EQ(panel->windowTitle().toStdString(), "Kelvane Schnellsuche");
    EXPECT_EQ(panel->accessibleName().toStdString(), "Kelvane Schnellsuche");
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(QTest::qWaitFor([&] { return field().hasFocus(); }, 5000))
        << "typing goes to the field";
    QTest::keyClicks(&field(), "ga");
    QTest::keyClick(&field(), Qt::Key_Down);
    controller.toggle();
    EXPECT_FALSE(controller.isPanelVisible());
    controller.toggle();
    EXPECT_TRUE(controller.isPanelVisible());
    EXPECT_EQ(controller.panel(), panel) << "the panel is hidden, never destroyed";
    EXPECT_TRUE(view().query().isEmpty());
    EXPECT_EQ(view().selection(), 0);
    EXPECT_EQ(view().results().size(), 3u);
}

TEST_F(QuickSearchControllerTest, copyingKeepsThePanelOpenEscapeLeavingAndReturnHideIt) {
    controller.show();
    QTest::keyClick(&field(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(controller.isPanelVisible());
    EXPECT_EQ(workspace.requests, std::vector<std::string>{"copy: echo Alpha"});
    QTest::keyClick(&field(), Qt::Key_Escape);
    EXPECT_FALSE(controller.isPanelVisible());
    controller.show();
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(controller.isPanelVisible());

    // Return hides the panel before the command runs.
    controller.show();
    QTest::keyClick(&field(), Qt::Key_Down);
    QTest::keyClick(&field(), Qt::Key_Return);
    EXPECT_FALSE(controller.isPanelVisible());
    waitForRuns(1);
    EXPECT_EQ(runs, (std::vector<std::pair<std::string, bool>>{{"Beta", false}}));
    EXPECT_EQ(workspace.requests, std::vector<std::string>{"copy: echo Alpha"});
}

} // namespace
} // namespace kelvane

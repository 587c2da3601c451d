#include "Kelvane/Menu/MenuPlacement.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(MenuPlacement, submenusGoBesideTheirParentOnTheSideWithRoom) {
    const QRect screen(0, 0, 1000, 700);
    struct Case {
        const char* name;
        QRect parent;
        int width;
        bool towardsLeft;
        int expectedLeft;
    };
    const std::vector<Case> cases{
        {"right where it fits", {100, 50, 200, 300}, 250, false, 300},
        {"exactly to the right edge", {500, 50, 200, 300}, 300, false, 700},
        {"left when the right has no room", {600, 50, 200, 300}, 300, false, 300},
        {"exactly to the left edge", {600, 50, 200, 300}, 600, false, 0},
        {"left on, after the cascade turned left", {400, 50, 200, 300}, 300, true, 100},
        {"right when the left has no room", {100, 50, 200, 300}, 300, true, 300},
        {"pushed onto the screen on the roomier right", {300, 50, 200, 300}, 600, false, 400},
        {"pushed onto the screen on the roomier left", {600, 50, 200, 300}, 700, true, 0},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        EXPECT_EQ(MenuPlacement::submenuLeft(testCase.parent, testCase.width, screen,
                                             testCase.towardsLeft),
                  testCase.expectedLeft);
    }
}

TEST(MenuPlacement, aMenuMovesJustEnoughToLieWithinTheScreen) {
    const QRect screen(0, 0, 1000, 700);
    EXPECT_EQ(MenuPlacement::withinScreen({100, 100, 300, 200}, screen), QPoint(100, 100));
    EXPECT_EQ(MenuPlacement::withinScreen({900, 600, 300, 200}, screen), QPoint(700, 500));
    EXPECT_EQ(MenuPlacement::withinScreen({-20, -5, 300, 200}, screen), QPoint(0, 0));
    EXPECT_EQ(MenuPlacement::withinScreen({50, 100, 300, 900}, screen), QPoint(50, 0))
        << "a menu taller than the screen keeps its top on it";
}

} // namespace
} // namespace kelvane

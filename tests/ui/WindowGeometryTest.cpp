#include "ui/WindowGeometry.h"

#include "ui/modSubclassing.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// A primary screen of 1920 x 1080 with a task bar at the bottom, and a second one to its right.
TEST(FitToScreens, OpensEveryFrameWholeOnTheScreenThatShowsMostOfIt)
{
    const QRect primaryArea(0, 0, 1920, 1040);
    const QList<QRect> screens = {primaryArea, {1920, 0, 1280, 1024}};
    const std::pair<QRect, QRect> cases[] = {
        {{100, 80, 451, 446}, {100, 80, 451, 446}}, {{2500, 500, 451, 446}, {2500, 500, 451, 446}},
        {{1700, 900, 451, 446}, {1469, 594, 451, 446}}, // sticks out: moved in
        {{1800, 100, 451, 446}, {1920, 100, 451, 446}}, // mostly on the second screen
        {{2000, 1100, 450, 446}, {735, 297, 450, 446}}, // below the second screen
        {{-5000, 0, 2400, 1300}, {0, 0, 1920, 1040}}, // larger than the screen: shrunk to it
    };
    for (const auto &[frame, expected] : cases)
        EXPECT_EQ(fitToScreens(frame, screens, primaryArea), expected);
}

// Opening a window where it was left, maximised or not, and restoring it gives back exactly the
// outer rectangle that was stored, however often it is done.
TEST(PlaceWindow, KeepsTheStoredFrameOverReopenings)
{
    for (const qint16 state : {windowStateNormal, windowStateMaximised}) {
        WindowPlacement placement {1500, 1200, 6765, 6690, state};
        for (int opening = 0; opening < 2; ++opening) {
            QWidget window;
            placeWindow(window, placement);
            window.show();
            ASSERT_TRUE(QTest::qWaitFor([&] { return framePlacement(window).state == state; }));
            const QRect shown = window.frameGeometry();
            window.setWindowState(Qt::WindowNoState);
            ASSERT_TRUE(QTest::qWaitFor([&] {
                return placementSettled(window)
                    && (state == windowStateNormal || window.frameGeometry() != shown);
            }));
            placement = framePlacement(window);
            EXPECT_EQ(QRect(placement.left, placement.top, placement.width, placement.height),
                QRect(1500, 1200, 6765, 6690));
            placement.state = state;
        }
    }
}

// A stored size below the window's smallest grows to it; position, state and a larger size stay.
TEST(GrownTo, GrowsOnlyWhatIsBelowTheSmallestSize)
{
    const std::pair<WindowPlacement, QRect> cases[] = {
        {{1500, 1200, 6765, 6690, windowStateMaximised}, {1500, 1200, 9000, 6690}},
        {{-300, 0, 9300, 9300, windowStateNormal}, {-300, 0, 9300, 9300}},
    };
    for (const auto &[stored, expected] : cases) {
        const WindowPlacement grown = grownTo(stored, {600, 420});
        EXPECT_EQ(QRect(grown.left, grown.top, grown.width, grown.height), expected);
        EXPECT_EQ(grown.state, stored.state);
    }
}

TEST(MinimumFrame, KeepsAHookedWindowFromShrinkingBelowIt)
{
    QWidget window;
    modSubclassing::Hook(window, modSubclassing::mainWindowMinimum);
    window.resize(100, 100);
    EXPECT_EQ(window.frameGeometry().size(), modSubclassing::mainWindowMinimum);
}

} // namespace
} // namespace twinscan

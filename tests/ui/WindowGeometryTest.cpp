#include "ui/WindowGeometry.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// A primary screen of 1920 x 1080 with a task bar at the bottom, and a second one to its right.
TEST(KeepOnScreens, MovesOnlyAFrameThatNoScreenShows)
{
    const QRect primaryArea(0, 0, 1920, 1040);
    const QList<QRect> screens = {primaryArea, {1920, 0, 1280, 1024}};
    const std::pair<QRect, QRect> cases[] = {
        {{100, 80, 451, 446}, {100, 80, 451, 446}}, {{2500, 500, 451, 446}, {2500, 500, 451, 446}},
        {{-450, -445, 451, 446}, {-450, -445, 451, 446}}, // a corner shows
        {{2000, 1100, 450, 446}, {735, 297, 450, 446}}, // below the second screen
        {{-5000, 0, 2400, 1300}, {0, 0, 1920, 1040}}, // larger than the screen: shrunk to it
        {{100, 50, 1600, 1324}, {100, 0, 1600, 1040}}, // saved at another scale
    };
    for (const auto &[frame, expected] : cases)
        EXPECT_EQ(keepOnScreens(frame, screens, primaryArea), expected);
}

TEST(PlaceWindow, GivesTheFrameAndTheStateAndReadsThemBack)
{
    for (const qint16 state : {windowStateNormal, windowStateMaximised, windowStateMinimised}) {
        SCOPED_TRACE(state);
        QWidget window;
        placeWindow(window, {1508, 1192, 6000, 4500, state});
        window.show();
        EXPECT_EQ(windowSnapshot(window).state, state);
        if (state == windowStateMinimised)
            continue;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        // A maximised window comes back to the placement when restored. Twips round to the
        // nearest pixel: 1508 are 100.53, 1192 are 79.47.
        window.showNormal();
        const QRect frame(101, 79, 400, 300);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.frameGeometry() == frame; }, 1000));
        const WindowSnapshot snapshot = windowSnapshot(window);
        EXPECT_EQ(QPoint(snapshot.left, snapshot.top), QPoint(1515, 1185));
        const WindowPlacement read = framePlacement(window);
        EXPECT_EQ(
            QRect(read.left, read.top, read.width, read.height), QRect(1515, 1185, 6000, 4500));
    }
}

} // namespace
} // namespace twinscan

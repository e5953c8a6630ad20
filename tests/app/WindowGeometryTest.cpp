#include "app/WindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

TEST(TwipsToPixels, RoundsToTheNearestPixel)
{
    const std::pair<int, int> cases[]
        = {{0, 0}, {1500, 100}, {22, 1}, {23, 2}, {7, 0}, {8, 1}, {-7, 0}, {-8, -1}, {32767, 2184}};
    for (const auto &[twips, pixels] : cases)
        EXPECT_EQ(twipsToPixels(twips), pixels) << twips;
}

struct ScreenCase
{
    const char *name;
    QRect frame;
    QRect expected;
};

class KeepOnScreens : public testing::TestWithParam<ScreenCase>
{
};

// A primary screen of 1920 x 1080 with a task bar at the bottom, and a second one to its right.
TEST_P(KeepOnScreens, MovesOnlyAFrameThatNoScreenShows)
{
    const QList<QRect> screens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    const QRect primaryArea(0, 0, 1920, 1040);
    EXPECT_EQ(keepOnScreens(GetParam().frame, screens, primaryArea), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Frames, KeepOnScreens,
    testing::Values(ScreenCase {"OnPrimary", {100, 80, 451, 446}, {100, 80, 451, 446}},
        ScreenCase {"OnSecond", {2500, 500, 451, 446}, {2500, 500, 451, 446}},
        ScreenCase {"CornerShowing", {-450, -445, 451, 446}, {-450, -445, 451, 446}},
        ScreenCase {"RightOfAll", {3300, 100, 450, 446}, {735, 297, 450, 446}},
        ScreenCase {"LeftOfAll", {-2000, 100, 450, 446}, {735, 297, 450, 446}},
        ScreenCase {"BelowSecond", {2000, 1100, 450, 446}, {735, 297, 450, 446}},
        ScreenCase {"LargerThanTheScreen", {-5000, 0, 2400, 1300}, {0, 0, 2400, 1300}}),
    [](const testing::TestParamInfo<ScreenCase> &info) { return info.param.name; });

// What `read` gives once the pending events have brought it to `expected`, or after a second.
template<typename Read> auto settled(Read read, const decltype(read()) &expected)
{
    return QTest::qWaitFor([&] { return read() == expected; }, 1000) ? expected : read();
}

QRect settledFrame(const QWidget &window, const QRect &expected)
{
    return settled([&] { return window.frameGeometry(); }, expected);
}

QRect primaryGeometry()
{
    return QGuiApplication::primaryScreen()->geometry();
}

TEST(PlaceWindow, GivesTheOuterFrameAndReadsItBack)
{
    QWidget window;
    const WindowPlacement placement {1500, 1200, 6000, 4500, windowStateNormal};
    placeWindow(window, placement);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(settledFrame(window, QRect(100, 80, 400, 300)), QRect(100, 80, 400, 300));
    const WindowSnapshot snapshot = windowSnapshot(window);
    EXPECT_EQ(snapshot.state, windowStateNormal);
    EXPECT_EQ(snapshot.left, 1500);
    EXPECT_EQ(snapshot.top, 1200);
    const WindowPlacement read = framePlacement(window);
    EXPECT_EQ(QRect(read.left, read.top, read.width, read.height), QRect(1500, 1200, 6000, 4500));
}

TEST(PlaceWindow, BringsAFrameOutsideEveryScreenBackKeepingItsSize)
{
    QWidget window;
    placeWindow(window, {-30000, -30000, 6000, 4500, windowStateNormal});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(
        settled([&] { return window.frameGeometry().size(); }, QSize(400, 300)), QSize(400, 300));
    EXPECT_TRUE(primaryGeometry().intersects(window.frameGeometry()));
}

TEST(PlaceWindow, MaximisedWindowRestoresToThePlacement)
{
    QWidget window;
    placeWindow(window, {1500, 1200, 6000, 4500, windowStateMaximised});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(windowSnapshot(window).state, windowStateMaximised);
    window.showNormal();
    EXPECT_EQ(settledFrame(window, QRect(100, 80, 400, 300)), QRect(100, 80, 400, 300));
}

TEST(WindowSnapshot, ReportsAMinimisedWindow)
{
    QWidget window;
    placeWindow(window, {1500, 1200, 6000, 4500, windowStateMinimised});
    window.show();
    EXPECT_EQ(windowSnapshot(window).state, windowStateMinimised);
}

} // namespace
} // namespace twinscan

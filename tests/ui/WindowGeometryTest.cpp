#include "ui/WindowGeometry.h"

#include "ui/modSubclassing.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// A primary screen of 1920 x 1080 with a task bar at the bottom, and a second one to its right.
TEST(KeepOnScreens, BringsBackOnlyAFrameThatNoScreenShows)
{
    const QRect primaryArea(0, 0, 1920, 1040);
    const QList<QRect> screens = {primaryArea, {1920, 0, 1280, 1024}};
    const std::pair<QRect, QRect> cases[] = {
        {{100, 80, 451, 446}, {100, 80, 451, 446}}, {{2500, 500, 451, 446}, {2500, 500, 451, 446}},
        {{2000, 1100, 450, 446}, {735, 297, 450, 446}}, // below the second screen
        {{-5000, 0, 2400, 1300}, {0, 0, 1920, 1040}}, // larger than the screen: shrunk to it
    };
    for (const auto &[frame, expected] : cases)
        EXPECT_EQ(keepOnScreens(frame, screens, primaryArea), expected);
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

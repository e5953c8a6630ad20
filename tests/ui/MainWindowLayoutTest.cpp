#include "ui/MainWindowLayout.h"

#include <gtest/gtest.h>

namespace twinscan {
namespace {

constexpr bool Y = true, N = false;

struct LayoutRow
{
    QSize client; // twips
    std::array<bool, 12> applied;
    int actionHeight, origHeight, dupTop, dupHeight, listWidth, statusTop;
};

// The lists follow a large window; a minimised one skips the steps that would give a negative size.
TEST(MainWindowLayout, AppliesEachStepThatGivesASizeTheWindowCanTake)
{
    const LayoutRow rows[] = {
        {{0, 0}, {N, N, N, Y, Y, Y, N, Y, N, Y, Y, Y}, 5655, 142, 412, 2295, 4365, -255},
        {{24000, 14000}, {Y, Y, Y, Y, Y, Y, Y, Y, Y, Y, Y, Y}, 13385, 7142, 7412, 6093, 21690,
            13745},
    };
    for (const LayoutRow &row : rows) {
        const MainWindowLayoutResult result = layOutMainWindow({}, {row.client, false, {}, {}});
        const MainWindowGeometry &g = result.geometry;
        EXPECT_EQ(result.applied, row.applied);
        EXPECT_EQ(g.frmAction.height(), row.actionHeight);
        EXPECT_EQ(g.frmOrig.height(), row.origHeight);
        EXPECT_EQ(g.frmDup.top(), row.dupTop);
        EXPECT_EQ(g.frmDup.height(), row.dupHeight);
        EXPECT_EQ(g.List2.width(), row.listWidth);
        EXPECT_EQ(g.picStatusbar, QRect(0, row.statusTop, row.client.width(), 255));
    }
}

} // namespace
} // namespace twinscan

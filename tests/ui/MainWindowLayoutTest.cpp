#include "ui/MainWindowLayout.h"

#include <gtest/gtest.h>

namespace twinscan {
namespace {

constexpr bool Y = true, N = false;

struct LayoutRow
{
    const char *what;
    QSize client; // twips
    bool remember;
    QRect frame;
    std::array<bool, 12> applied;
    int actionHeight, origHeight, dupTop, dupHeight, listWidth, statusTop;
    QRect stored;
};

TEST(MainWindowLayout, AppliesEachStepThatGivesASizeTheWindowCanTake)
{
    const QRect before(100, 200, 6765, 6690);
    const LayoutRow rows[] = {
        {"too small", {1500, 900}, true, {1500, 1200, 1620, 1305},
            {N, N, Y, N, Y, Y, N, Y, Y, Y, Y, Y}, 285, 592, 862, 2295, 4365, 645,
            {1500, 1200, 1620, 1305}},
        {"minimised", {0, 0}, false, {}, {N, N, N, Y, Y, Y, N, Y, N, Y, Y, Y}, 5655, 142, 412, 2295,
            4365, -255, before},
        {"maximised", {24000, 14000}, false, {}, {Y, Y, Y, Y, Y, Y, Y, Y, Y, Y, Y, Y}, 13385, 7142,
            7412, 6093, 21690, 13745, before},
        {"design size; left beyond its field", {6645, 6285}, true, {40000, 1200, 6765, 6690},
            {Y, Y, Y, Y, Y, Y, Y, Y, Y, Y, Y, Y}, 5670, 3285, 3555, 2235, 4335, 6030,
            {100, 1200, 6765, 6690}},
    };
    for (const LayoutRow &row : rows) {
        SCOPED_TRACE(row.what);
        const WindowPlacement placement {qint16(before.x()), qint16(before.y()),
            qint16(before.width()), qint16(before.height()), 0};
        const MainWindowLayoutResult result
            = layOutMainWindow({}, {row.client, row.remember, row.frame, placement});
        const MainWindowGeometry &g = result.geometry;
        EXPECT_EQ(result.applied, row.applied);
        EXPECT_EQ(g.frmAction.height(), row.actionHeight);
        EXPECT_EQ(g.frmOrig.height(), row.origHeight);
        EXPECT_EQ(g.frmDup.top(), row.dupTop);
        EXPECT_EQ(g.frmDup.height(), row.dupHeight);
        EXPECT_EQ(g.List2.width(), row.listWidth);
        EXPECT_EQ(g.picStatusbar, QRect(0, row.statusTop, row.client.width(), 255));
        EXPECT_EQ(QRect(result.placement.left, result.placement.top, result.placement.width,
                      result.placement.height),
            row.stored);
    }
}

} // namespace
} // namespace twinscan

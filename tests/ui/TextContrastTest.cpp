#include "ui/TextContrast.h"

#include <gtest/gtest.h>

namespace twinscan {
namespace {

// The ratios WCAG gives for its own examples.
TEST(TextContrast, RatiosOfKnownPairs)
{
    const struct
    {
        QColor a, b;
        double ratio;
    } pairs[] = {
        {Qt::black, Qt::white, 21.0},
        {Qt::white, Qt::black, 21.0},
        {QColor(255, 0, 0), Qt::white, 3.998},
        {QColor(0x77, 0x77, 0x77), Qt::white, 4.478},
        {QColor(0x2b, 0x2b, 0x2b), QColor(0x2b, 0x2b, 0x2b), 1.0},
    };
    for (const auto &pair : pairs)
        EXPECT_NEAR(contrastRatio(pair.a, pair.b), pair.ratio, 0.001)
            << pair.a.name().toStdString();
}

// A light base keeps pure red, even mid grey, where black still reads better than white; a dark
// base gets the least lightened red that reads at 4.5:1 (#ff5555 on #2b2b2b is 4.51:1, #ff5454
// 4.48:1), which on black is pure red itself.
TEST(TextContrast, DuplicateRedOnEachBase)
{
    const struct
    {
        QColor base, red;
    } rows[] = {
        {Qt::white, QColor(0xff, 0, 0)},
        {QColor(0x80, 0x80, 0x80), QColor(0xff, 0, 0)},
        {QColor(0x2b, 0x2b, 0x2b), QColor(0xff, 0x55, 0x55)},
        {QColor(0x40, 0x40, 0x40), QColor(0xff, 0x88, 0x88)},
        {Qt::black, QColor(0xff, 0, 0)},
    };
    for (const auto &row : rows)
        EXPECT_EQ(duplicateRed(row.base).name().toStdString(), row.red.name().toStdString())
            << row.base.name().toStdString();
}

} // namespace
} // namespace twinscan

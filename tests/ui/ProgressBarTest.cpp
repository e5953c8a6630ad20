#include "ui/cProgressBar.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// The main window's bar is taller than wide and fills from the bottom.
TEST(ProgressBar, AQuarterFillsTheBottomQuarter)
{
    cProgressBar bar;
    bar.setBackColor(0xFFFFFF);
    bar.setBarColor(0x0000FF);
    bar.setBorderStyle(0);
    bar.setMax(200);
    bar.setValue(50);
    QImage image(57, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    bar.DrawToDC(painter, image.rect());
    EXPECT_EQ(image.pixel(28, 74), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(28, 75), qRgb(255, 0, 0));
}

} // namespace
} // namespace twinscan

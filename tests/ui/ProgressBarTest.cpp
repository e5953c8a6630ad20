#include "ui/cProgressBar.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

constexpr OleColor white = 0xFFFFFF;
constexpr OleColor red = 0x0000FF;
constexpr OleColor green = 0x00FF00;
constexpr OleColor blue = 0xFF0000;

QRgb rgb(OleColor color)
{
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QImage render(cProgressBar &bar, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    bar.DrawToDC(painter, QRect(QPoint(0, 0), size));
    return image;
}

struct FillRow
{
    const char *what;
    QSize size;
    int value;
    bool segments;
    int borderStyle;
    std::vector<std::pair<QPoint, OleColor>> pixels;
};

TEST(ProgressBar, FillsFromTheBottomOrTheLeftByTheSurfaceShape)
{
    const FillRow rows[] = {
        {"vertical quarter", {57, 100}, 50, false, 0, {{{28, 74}, white}, {{28, 75}, red}}},
        {"square is vertical", {50, 50}, 100, false, 0, {{{10, 10}, white}, {{10, 40}, red}}},
        // 100 pixels inside the border at 0.47 end on a whole block: 40 pixels from the left.
        {"segments", {102, 20}, 94, true, 1,
            {{{8, 10}, red}, {{9, 10}, white}, {{38, 10}, red}, {{44, 10}, white}}},
    };
    for (const FillRow &row : rows) {
        SCOPED_TRACE(row.what);
        cProgressBar bar;
        bar.setBackColor(white);
        bar.setBarColor(red);
        bar.setBorderStyle(row.borderStyle);
        bar.setSegments(row.segments);
        bar.setMax(200);
        bar.setValue(row.value);
        const QImage image = render(bar, row.size);
        for (const auto &[point, color] : row.pixels)
            EXPECT_EQ(image.pixel(point), rgb(color)) << point.x() << "," << point.y();
    }
}

TEST(ProgressBar, DrawsTheCaptionInTheBarsColourWhereTheBarPassesUnderIt)
{
    cProgressBar bar;
    bar.setBackColor(white);
    bar.setBarColor(red);
    bar.setForeColor(green);
    bar.setBarForeColor(blue);
    bar.setBorderStyle(0);
    bar.setFont(QFont(QStringLiteral("DejaVu Sans"), 16, QFont::Bold));
    bar.setText(QStringLiteral("MMMMMM"));
    bar.setShowText(true);
    bar.setValue(50);
    const QImage image = render(bar, {300, 40});
    // How many pixels of the colour the left or the right half holds.
    auto count = [&](int left, OleColor color) {
        const QImage half = image.copy(left, 0, 150, image.height());
        const auto *pixels = reinterpret_cast<const QRgb *>(half.constBits());
        return std::count(pixels, pixels + half.width() * half.height(), rgb(color));
    };
    EXPECT_GT(count(0, blue), 0);
    EXPECT_EQ(count(0, green), 0);
    EXPECT_GT(count(150, green), 0);
    EXPECT_EQ(count(150, blue), 0);
}

TEST(MemDC, GrowsToWhatIsAskedAndNeverShrinks)
{
    pcMemDC buffer;
    const std::pair<QSize, QSize> rows[]
        = {{{100, 50}, {100, 50}}, {{80, 60}, {80, 60}}, {{70, 40}, {80, 60}}};
    for (const auto &[asked, kept] : rows) {
        ASSERT_NE(buffer.hDC(asked.width(), asked.height()), nullptr);
        EXPECT_EQ(QSize(buffer.Width(), buffer.Height()), kept);
        EXPECT_EQ(buffer.image().size(), kept);
    }
}

} // namespace
} // namespace twinscan

// The status bar and the progress bar the main window draws, and what screen readers hear of them.

#include "ui/PictureBox.h"
#include "ui/cNoStatusBar.h"
#include "ui/cProgressBar.h"

#include <QAccessible>
#include <QLabel>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

QString rectsOf(const cNoStatusBar &bar)
{
    QStringList rects;
    for (int panel = 1; panel <= bar.PanelCount(); ++panel) {
        const cNoStatusBar::PanelRect r = bar.GetPanelRect(panel);
        rects << QStringLiteral("%1-%2").arg(r.left).arg(r.right);
    }
    return rects.join(u' ');
}

// The bar on a surface 300 by 20 pixels: what each worked example leaves, panels as left-right
// pixels, or the error it raises.
TEST(StatusBar, WorkedExamples)
{
    using Example = std::function<QString(cNoStatusBar &)>;
    const std::tuple<const char *, Example, QString> cases[] = {
        {"one spring panel spans the width from the left offset",
            [](cNoStatusBar &bar) {
                bar.SetLeftTopOffsets(7, 0);
                bar.AddPanel(0, {}, -1, 64, true, false, 0, "MAIN");
                return rectsOf(bar);
            },
            "7-300"},
        {"the spring takes what the others leave, the last room for the grip",
            [](cNoStatusBar &bar) {
                bar.AddPanel(0, {}, -1, 50, true);
                bar.AddPanel(0, {}, -1, 60);
                bar.AddPanel(0, {}, -1, 70);
                return rectsOf(bar);
            },
            "0-159 160-219 220-300"},
        {"a panel added before the first moves the others, their keys still address them",
            [](cNoStatusBar &bar) {
                bar.AddPanel(0, {}, -1, 64, true, false, 0, "MAIN");
                bar.AddPanel(0, "new", -1, 40, false, false, 0, "NEW", PanelKey(1));
                return QString::number(bar.PanelIndex(QStringLiteral("MAIN"))) + bar.PanelText(1);
            },
            "2new"},
        {"keys match in case",
            [](cNoStatusBar &bar) {
                bar.AddPanel(0, {}, -1, 64, true, false, 0, "MAIN");
                return bar.PanelText(QStringLiteral("main"));
            },
            "-2147220454 Invalid Panel Index: main"},
        {"255 panels at most",
            [](cNoStatusBar &bar) {
                for (int i = 0; i < 256; ++i)
                    bar.AddPanel();
                return QString();
            },
            "-2147220453 Too many panels. (255 panels)"},
        {"only a drawing surface can be bound",
            [](cNoStatusBar &bar) {
                QLabel label;
                bar.Create(&label);
                return QString();
            },
            "9 Invalid object passed to Create. (0 panels)"},
    };
    for (const auto &[what, example, expected] : cases) {
        SCOPED_TRACE(what);
        PictureBox surface;
        surface.resize(300, 20);
        cNoStatusBar bar;
        bar.Create(&surface);
        QString result;
        try {
            result = example(bar);
        } catch (const StatusBarError &error) {
            result = QStringLiteral("%1 %2").arg(error.number()).arg(error.description());
            if (error.number() != StatusBarError::invalidPanelIndex)
                result += QStringLiteral(" (%1 panels)").arg(bar.PanelCount());
        }
        EXPECT_EQ(result.toStdString(), expected.toStdString());
    }
}

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

// Screen readers cannot read what the bars paint: each tells its text, the progress bar also its
// value with its range. Neither offers an action: a bar is only read.
TEST(BarAccessibility, ScreenReadersHearTheStatusTextAndTheProgress)
{
    PictureBox statusBox, progressBox;
    statusBox.setAccessibleName(QStringLiteral("Status"));
    cNoStatusBar status;
    status.Create(&statusBox);
    status.AddPanel();
    cProgressBar progress;
    progress.setDrawObject(&progressBox);
    progress.setMax(200);
    status.setPanelText(1, QStringLiteral("Loading file... 40%"));
    progress.setValue(50);

    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(&statusBox);
    EXPECT_EQ(bar->role(), QAccessible::StatusBar);
    EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("Status"));
    EXPECT_EQ(bar->text(QAccessible::Value), QStringLiteral("Loading file... 40%"));
    ASSERT_TRUE(bar->textInterface());
    EXPECT_EQ(bar->textInterface()->text(0, bar->textInterface()->characterCount()),
        QStringLiteral("Loading file... 40%"));

    bar = QAccessible::queryAccessibleInterface(&progressBox);
    EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
    EXPECT_EQ(bar->text(QAccessible::Value), QStringLiteral("25%"));
    ASSERT_TRUE(bar->valueInterface());
    EXPECT_EQ(bar->valueInterface()->currentValue(), 50);
    EXPECT_EQ(bar->valueInterface()->minimumValue(), 0);
    EXPECT_EQ(bar->valueInterface()->maximumValue(), 200);
    for (PictureBox *box : {&statusBox, &progressBox})
        EXPECT_EQ(QAccessible::queryAccessibleInterface(box)->actionInterface(), nullptr);
}

} // namespace
} // namespace twinscan

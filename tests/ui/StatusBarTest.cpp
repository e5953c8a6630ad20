#include "ui/PictureBox.h"
#include "ui/cNoStatusBar.h"

#include <QLabel>
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

} // namespace
} // namespace twinscan

#include "ui/PictureBox.h"
#include "ui/cNoStatusBar.h"

#include <QImage>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

using Rect = cNoStatusBar::PanelRect;

struct LayoutRow
{
    const char *what;
    QSize client;
    QPoint offsets;
    std::vector<std::pair<int, bool>> panels; // minimum width, spring
    std::vector<Rect> expected;
};

TEST(StatusBar, LaysOutPanelsSoThatTheSpringTakesWhatIsLeft)
{
    const LayoutRow rows[] = {
        {"three panels, spring first", {300, 20}, {0, 0}, {{50, true}, {60, false}, {70, false}},
            {{0, 0, 159, 20}, {160, 0, 219, 20}, {220, 0, 300, 20}}},
        {"one spring panel and offsets", {300, 20}, {5, 2}, {{64, true}}, {{5, 2, 300, 20}}},
        {"no spring: the last panel is one", {200, 20}, {0, 0}, {{50, false}, {60, false}},
            {{0, 0, 49, 20}, {50, 0, 200, 20}}},
        {"panels wider than the client", {100, 20}, {0, 0}, {{50, true}, {200, false}, {50, false}},
            {{0, 0, -161, 20}, {-160, 0, 39, 20}, {40, 0, 100, 20}}},
    };
    for (const LayoutRow &row : rows) {
        SCOPED_TRACE(row.what);
        PictureBox surface;
        surface.resize(row.client);
        cNoStatusBar bar;
        bar.Create(&surface);
        bar.SetLeftTopOffsets(row.offsets.x(), row.offsets.y());
        for (const auto &[minWidth, spring] : row.panels)
            bar.AddPanel(0, {}, -1, minWidth, spring);
        for (std::size_t i = 0; i < row.expected.size(); ++i)
            EXPECT_EQ(bar.GetPanelRect(int(i + 1)), row.expected[i]) << i + 1;
    }
}

// A panel goes before the one named; a key matches only exactly. A bad index or key, and a panel
// past the last one allowed, raise an error and change nothing.
TEST(StatusBar, AddressesPanelsByPositionOrExactKeyAndRefusesOthers)
{
    cNoStatusBar bar;
    bar.AddPanel(0, QStringLiteral("main"), -1, 64, true, false, 0, QStringLiteral("MAIN"));
    bar.AddPanel(0, QStringLiteral("first"), -1, 10, false, false, 0, QStringLiteral("A"), 1);
    EXPECT_EQ(bar.PanelIndex(QStringLiteral("MAIN")), 2);
    EXPECT_EQ(bar.PanelText(1), QStringLiteral("first"));
    EXPECT_THROW(bar.PanelText(QStringLiteral("main")), StatusBarError);
    EXPECT_THROW(bar.setPanelText(3, {}), StatusBarError);
    EXPECT_THROW(
        bar.AddPanel(0, {}, -1, 0, false, false, 0, {}, QStringLiteral("B")), StatusBarError);
    for (int added = 2; added < cNoStatusBar::maxPanels; ++added)
        bar.AddPanel();
    EXPECT_THROW(bar.AddPanel(), StatusBarError);
    EXPECT_EQ(bar.PanelCount(), cNoStatusBar::maxPanels);
}

// A long message ends in an ellipsis with the whole text as the tool tip; the panel is framed
// and the grip drawn in the palette's dark colour over the bottom-right corner.
TEST(StatusBar, CutsLongTextAndDrawsTheGrip)
{
    PictureBox surface;
    surface.resize(200, 24);
    cNoStatusBar bar;
    bar.Create(&surface);
    QObject::connect(&surface, &PictureBox::paintRequested, &surface, [&] { bar.Draw(); });
    bar.AddPanel(0, {}, -1, 64, true);
    bar.setSizeGrip(true);
    const QColor dark = surface.palette().color(QPalette::Dark);
    for (const QString &text :
        {QString(), QStringLiteral("Short"), QString(80, QLatin1Char('W'))}) {
        bar.setPanelText(1, text);
        QImage image(surface.size(), QImage::Format_RGB32);
        surface.render(&image);
        EXPECT_EQ(surface.toolTip(), text.size() > 10 ? text : QString());
        EXPECT_EQ(image.pixel(196, 20), dark.rgb());
        EXPECT_EQ(image.pixel(0, 0), dark.rgb()); // the sunken frame, also round no text
    }
}

} // namespace
} // namespace twinscan

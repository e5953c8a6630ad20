#include "ui/MainWindowUi.h"

#include "ui/MainWindowLayout.h"
#include "ui/UniformRowView.h"

#include <QAccessible>
#include <QGroupBox>
#include <QSignalSpy>
#include <QSizeGrip>
#include <QStringListModel>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// The window's controls on a plain form.
class MainWindowUiTest : public testing::Test
{
protected:
    void SetUp() override { ui.setupUi(&form); }
    QWidget form;
    MainWindowUi ui;
};

// Enter presses Open, Esc presses Stop!, each only while it is shown.
TEST_F(MainWindowUiTest, EnterAndEscPressTheDefaultAndCancelButtons)
{
    form.show();
    QSignalSpy opened(ui.cmdScan, &QToolButton::clicked);
    QSignalSpy stopped(ui.cmdStop, &QToolButton::clicked);
    QTest::keyClick(&form, Qt::Key_Escape);
    QTest::keyClick(&form, Qt::Key_Return);
    ui.cmdScan->hide();
    ui.cmdStop->show();
    QTest::keyClick(&form, Qt::Key_Return);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(stopped.count(), 1);
}

TEST_F(MainWindowUiTest, TabOrder)
{
    QStringList order;
    for (QWidget *w = ui.cmdScan; order.size() < 8; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
    }
    EXPECT_EQ(order.join(u' ').toStdString(),
        "cmdScan cmdStop cmdSave cmdView cmdSettings cmdAbout lstShow List2");
}

// Controls without a caption of their own are named for a screen reader; the size grip, which
// only draws over the status bar, is a grip.
TEST_F(MainWindowUiTest, ScreenReadersHearWhatEachUncaptionedControlIs)
{
    const struct
    {
        QWidget *control;
        QAccessible::Role role;
        const char *name;
    } rows[] = {
        {ui.frmAction, QAccessible::Grouping, "Commands"},
        {ui.lstShow, QAccessible::List, "Source file lines"},
        {ui.List2, QAccessible::List, "Duplicate lines"},
        {ui.grip, QAccessible::Grip, "Window size"},
    };
    for (const auto &row : rows) {
        QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(row.control);
        EXPECT_EQ(shown->role(), row.role) << row.name;
        EXPECT_EQ(shown->text(QAccessible::Name), QLatin1String(row.name));
    }
}

constexpr bool Y = true, N = false;

struct LayoutRow
{
    QSize client; // twips
    std::array<bool, 12> applied;
    std::array<int, 5> sizes; // in the order they are checked below
    int statusTop;
};

// The lists follow a large window; a minimised one skips the steps that would give a negative size.
TEST(MainWindowLayout, AppliesEachStepThatGivesASizeTheWindowCanTake)
{
    const LayoutRow rows[] = {
        {{0, 0}, {N, N, N, Y, Y, Y, N, Y, N, Y, Y, Y}, {5655, 142, 412, 2295, 4365}, -255},
        {{24000, 14000}, {Y, Y, Y, Y, Y, Y, Y, Y, Y, Y, Y, Y}, {13385, 7142, 7412, 6093, 21690},
            13745},
    };
    for (const LayoutRow &row : rows) {
        const MainWindowLayoutResult result = layOutMainWindow({}, {row.client, false, {}, {}});
        const MainWindowGeometry &g = result.geometry;
        EXPECT_EQ(result.applied, row.applied);
        EXPECT_EQ((std::array {g.frmAction.height(), g.frmOrig.height(), g.frmDup.top(),
                      g.frmDup.height(), g.List2.width()}),
            row.sizes);
        EXPECT_EQ(g.picStatusbar, QRect(0, row.statusTop, row.client.width(), 255));
    }
}

TEST_F(MainWindowUiTest, ListsHaveNoHeader)
{
    QStringListModel lines({QStringLiteral("a")});
    ui.lstShow->setModel(&lines);
    ui.List2->setModel(&lines);
    form.show();
    for (const UniformRowView *list : {ui.lstShow, ui.List2})
        EXPECT_EQ(list->viewport()->y(), list->frameWidth()) << list->objectName().toStdString();
}

} // namespace
} // namespace twinscan

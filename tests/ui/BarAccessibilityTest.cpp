#include "ui/PictureBox.h"
#include "ui/cNoStatusBar.h"
#include "ui/cProgressBar.h"

#include <QAccessible>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// Screen readers cannot read what the bars paint: each tells its text, the progress bar also its
// value with its range.
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
}

} // namespace
} // namespace twinscan

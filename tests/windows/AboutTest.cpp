#include "support/FakeServices.h"
#include "windows/frmAbout.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace twinscan::test {
namespace {

// The link opens the help document, or the maker's page when the build names one; when the
// desktop cannot open it, a message box says so, as F1 does, rather than nothing happening.
TEST(About, ALinkTheDesktopCannotOpenIsReported)
{
    for (const bool opens : {true, false}) {
        SCOPED_TRACE(opens);
        FakeShell shell;
        shell.opens = opens;
        FakeMessageBoxes messages;
        frmAbout about(QStringLiteral("Twinscan"), QStringLiteral("2.5"), {}, shell, messages);
        auto *link = about.findChild<QLabel *>(QStringLiteral("lblWeb"));
        ASSERT_NE(link, nullptr);
        emit link->linkActivated(frmAbout::makerPage().toString());
        EXPECT_EQ(messages.shown, opens ? 0 : 1);
    }
}

// A left click anywhere but on the link closes the window, on a label or on the window itself;
// the other buttons leave it open.
TEST(About, OnlyALeftClickCloses)
{
    const std::pair<const char *, Qt::MouseButton> cases[]
        = {{"clickShape", Qt::LeftButton}, {"lblStats", Qt::LeftButton},
            {"clickShape", Qt::RightButton}, {"lblStats", Qt::MiddleButton}};
    for (const auto &[where, button] : cases) {
        SCOPED_TRACE(std::string(where) + " " + std::to_string(button));
        FakeShell shell;
        FakeMessageBoxes messages;
        frmAbout about("Twinscan", "2.5", "statistics", shell, messages);
        about.show();
        QTest::mouseClick(about.findChild<QWidget *>(where), button);
        EXPECT_EQ(about.isVisible(), button != Qt::LeftButton);
    }
}

} // namespace
} // namespace twinscan::test

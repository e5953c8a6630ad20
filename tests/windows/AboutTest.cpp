#include "support/FakeServices.h"
#include "windows/frmAbout.h"

#include <QLabel>
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

} // namespace
} // namespace twinscan::test

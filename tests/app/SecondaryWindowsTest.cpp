#include "support/WindowFixture.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace twinscan::test {
namespace {

class SecondaryWindows : public WindowFixture
{
protected:
    // Presses `button` and runs `inspect` on the modal window it opens, which is then closed.
    void whileOpen(QToolButton *button, std::function<void(QWidget &)> inspect)
    {
        bool seen = false;
        QTimer::singleShot(0, window.get(), [&] {
            QWidget *modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            seen = true;
            inspect(*modal);
            modal->close();
        });
        button->click();
        EXPECT_TRUE(seen);
    }
};

TEST_F(SecondaryWindows, AboutCountsTheScansOfThisRunOnTopOfTheStoredOnes)
{
    fakes.settings.setValue(QStringLiteral("statFilesOpened"), QStringLiteral("1000000"));
    window = std::make_unique<frmMain>(fakes.services());
    scan(writeFile("five.txt", "a\nb\na\nc\na\n"));
    whileOpen(window->ui().cmdAbout, [](QWidget &about) {
        EXPECT_EQ(about.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), "v2.5");
        EXPECT_EQ(about.findChild<QLabel *>(QStringLiteral("lblStats"))->text(),
            "Files Opened: 1000001\nLines Scanned: 5\nDuplicates Found: 3\n"
            "Unique Dups Found: 1\nDuplicates Deleted: 0");
    });
}

} // namespace
} // namespace twinscan::test

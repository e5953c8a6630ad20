#include "support/WindowFixture.h"
#include "windows/frmView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
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
    whileOpen(ui().cmdAbout, [](QWidget &about) {
        EXPECT_EQ(about.findChild<QLabel *>(QStringLiteral("lblStats"))->text(),
            QStringLiteral("Files Opened: 1000001\nLines Scanned: 5\nDuplicates Found: 3\n"
                           "Unique Dups Found: 1\nDuplicates Deleted: 0"));
    });
}

// A check on the second occurrence of a line marks that occurrence's entry; the main window
// hears of it once and lists the duplicates again from the first.
TEST_F(SecondaryWindows, ViewerChecksMarkTheirEntries)
{
    scan(writeFile("file.txt", "a\nb\na\nc\na\n"));
    ScanSession &session = *window->session();
    QSignalSpy changes(&session, &ScanSession::marksChanged);
    whileOpen(ui().cmdView, [](QWidget &viewer) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<frmView &>(viewer).viewerFilled(); }));
        QAbstractItemModel *rows
            = viewer.findChild<QAbstractItemView *>(QStringLiteral("lw"))->model();
        rows->setData(rows->index(2, 0), Qt::Checked, Qt::CheckStateRole);
    });
    EXPECT_FALSE(session.isEntryMarked(0));
    EXPECT_TRUE(session.isEntryMarked(1));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(ui().List2->currentIndex().row(), 0);
}

} // namespace
} // namespace twinscan::test

#include "support/WindowFixture.h"
#include "windows/frmView.h"

#include <QAbstractItemView>

namespace twinscan::test {
namespace {

class SecondaryWindows : public WindowFixture, public ::testing::WithParamInterface<bool>
{
};
INSTANTIATE_TEST_SUITE_P(SmallAndListedLargeFiles, SecondaryWindows, ::testing::Bool());

// A check on the second occurrence of a line marks that occurrence's entry. Closing the viewer
// shows the first entry's line, also when that entry was current already, and the marked count;
// in a large file that the window lists too.
TEST_P(SecondaryWindows, ViewerChecksMarkTheirEntries)
{
    const std::string lines = "a\nb\na\nc\na\n";
    module().showLargeFileLists = GetParam() ? 1 : 0;
    scan(writeFile("file.txt", GetParam() ? largeFile(lines) : lines));
    ScanSession &session = *window->session();
    ui().List2->setCurrentIndex(window->List2Box().index(0));
    ui().lstShow->setCurrentIndex(window->lstShowBox().index(3));
    bool seen = false;
    QTimer::singleShot(0, window.get(), [&] {
        auto *viewer = static_cast<frmView *>(QApplication::activeModalWidget());
        ASSERT_NE(viewer, nullptr);
        seen = QTest::qWaitFor([&] { return viewer->viewerFilled(); });
        QAbstractItemModel *rows
            = viewer->findChild<QAbstractItemView *>(QStringLiteral("lw"))->model();
        rows->setData(rows->index(2, 0), Qt::Checked, Qt::CheckStateRole);
        viewer->close();
    });
    ui().cmdView->click();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(session.isEntryMarked(0));
    EXPECT_TRUE(session.isEntryMarked(1));
    EXPECT_EQ(ui().lstShow->currentIndex().row(), 0);
    EXPECT_EQ(status(), "1 line marked for removal");
}

} // namespace
} // namespace twinscan::test

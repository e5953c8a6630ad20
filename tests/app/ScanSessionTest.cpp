#include "support/WindowFixture.h"

#include <QSignalSpy>

namespace twinscan::test {
namespace {

using ScanSessionTest = WindowFixture;

// Lines a b a c b: entries [1] a, [3] a, [2] b, [5] b.
TEST_F(ScanSessionTest, LinesAndEntriesLeadToEachOther)
{
    scan(writeFile("five.txt", "a\nb\na\nc\nb\n"));
    const ScanSession &session = *window->session();
    const struct
    {
        int line, entry, groupFirstLine;
    } rows[] = {{0, 0, 0}, {1, 2, 1}, {2, 1, 0}, {3, -1, -1}, {4, 3, 1}, {5, -1, -1}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(session.entryOfLine(row.line), row.entry);
        EXPECT_EQ(session.groupFirstLine(row.line), row.groupFirstLine);
        if (row.entry >= 0) {
            EXPECT_EQ(session.lineOfEntry(row.entry), row.line);
        }
    }
    EXPECT_EQ(session.lastLineIndex(), 4);
}

// A rule and a check box each change marks, and each tells the readers once.
TEST_F(ScanSessionTest, MarksChangedOnceWhoeverChangesThem)
{
    scan(writeFile("five.txt", "a\nb\na\nc\nb\n"));
    ScanSession &session = *window->session();
    QSignalSpy spy(&session, &ScanSession::marksChanged);
    window->mnuSelAllButFirst_Click();
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(session.isLineMarked(2));
    EXPECT_FALSE(session.isLineMarked(0));
    EXPECT_FALSE(session.isLineMarked(3));

    window->List2Box().setData(window->List2Box().index(0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_TRUE(session.isLineMarked(0));
}

} // namespace
} // namespace twinscan::test

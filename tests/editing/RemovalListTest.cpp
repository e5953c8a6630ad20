#include "editing/RemovalList.h"

#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"
#include "engine/clsListEmu.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace twinscan;

namespace {

QStringList itemsOf(const LineList &list)
{
    QStringList items;
    for (int i = 0; i < list.ListCount(); ++i)
        items << list.List(i);
    return items;
}

TEST(EntryLineNumber, ReadsTheNumberBeforeTheFirstClosingBracket)
{
    const struct
    {
        const char *text;
        std::optional<int> number;
    } cases[] = {
        {"[12]\tabc", 12},
        {"[ 7 ]\tx", 7},
        {"[3]\t[9] text ] more", 3},
        {"[40]", 40},
        {"[x]\tabc", std::nullopt},
        {"[]\tabc", std::nullopt},
        {"12]\tabc", std::nullopt},
        {"[12\tabc", std::nullopt},
        {"[\t5]\tabc", std::nullopt},
        {"[99999999999]", std::nullopt},
        {"[+5]", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(entryLineNumber(QString::fromUtf8(c.text)), c.number);
    }
}

// Marks on scan entries and on plain entry texts both count, in list order, not sorted.
TEST(CollectRemovals, ListsMarkedEntriesInOrderAndFindsThemByNumber)
{
    clsListEmu duplicates;
    duplicates.setUpperLimit(8);
    duplicates.setSource(LoadedText::fromBytes("a\nb\nb\na\nc\nc\nb\nz\nz\nz\n"));
    duplicates.addEntry(0, 0); // [1] a
    duplicates.addEntry(3, 0); // [4] a   marked
    duplicates.addEntry(1, 1); // [2] b
    duplicates.addEntry(6, 1); // [7] b   marked
    duplicates.addEntry(2, 1); // [3] b   marked (out of line order)
    duplicates.AddItem(QStringLiteral("[ 10 ]\tz")); // marked
    duplicates.AddItem(QStringLiteral("[?]\tz")); // marked, no number
    duplicates.AddItem(QStringLiteral("[9]\tz"));
    for (int i : {1, 3, 4, 5, 6})
        duplicates.setSelected(i, true);

    ItemVectorList lstLines;
    lstLines.AddItem(QStringLiteral("left over"));
    const RemovalSet removals = collectRemovals(duplicates, lstLines, 9);

    EXPECT_EQ(itemsOf(lstLines).join(QLatin1Char(',')), QStringLiteral("4,7,3,10"));
    EXPECT_EQ(removals.entryCount(), 4);
    for (int line = 0; line <= 12; ++line)
        EXPECT_EQ(removals.contains(line), line == 3 || line == 4 || line == 7 || line == 10)
            << "line " << line;
}

TEST(CollectRemovals, NothingMarkedLeavesAnEmptyList)
{
    ItemVectorList duplicates;
    duplicates.setSource(LoadedText::fromBytes("a\na\n"));
    duplicates.addEntry(0, 0);
    duplicates.addEntry(1, 0);
    ItemVectorList lstLines;
    lstLines.addNumber(5);

    const RemovalSet removals = collectRemovals(duplicates, lstLines, 1);
    EXPECT_EQ(lstLines.ListCount(), 0);
    EXPECT_TRUE(removals.isEmpty());
    EXPECT_FALSE(removals.contains(1) || removals.contains(2));
}

} // namespace

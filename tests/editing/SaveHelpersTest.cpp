#include "editing/RemovalList.h"
#include "editing/SavePercent.h"
#include "editing/SaveTarget.h"
#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"

#include <gtest/gtest.h>
#include <string>

using namespace twinscan;

namespace {

// Marks on scan entries and on plain entry texts both count, in list order, not sorted; a text's
// number is read up to its first "]", and an entry without a number is skipped. The removal list
// loses what it held before; the removal set holds the numbers.
TEST(RemovalList, CollectsMarkedEntriesInOrderAndFindsThemByNumber)
{
    ItemVectorList duplicates;
    duplicates.setSource(LoadedText::fromBytes("a\nb\nb\na\nc\nc\nb\n"));
    duplicates.addEntry(0, 0); // [1] a
    duplicates.addEntry(3, 0); // [4] a   marked
    duplicates.addEntry(1, 1); // [2] b
    duplicates.addEntry(6, 1); // [7] b   marked
    duplicates.addEntry(2, 1); // [3] b   marked, out of line order
    for (const char *text : {"[ 10 ]\tz", "[9]\tz", "[5]\t[8] ] x", "[?]\tz", "[]\tz", "6]\tz",
             "[6\tz", "[+6]\tz", "[99999999999]"})
        duplicates.AddItem(QString::fromUtf8(text)); // marked but the second
    for (int i = 0; i < duplicates.ListCount(); ++i)
        duplicates.setSelected(i, i % 2 == 1 || i == 4 || i > 6);

    const RemovalSet removals = collectRemovals(duplicates, 9);
    std::string numbers;
    for (int number = 0; number <= 11; ++number)
        numbers += removals.contains(number) ? std::to_string(number) + ' ' : "";
    EXPECT_EQ(numbers, "3 4 5 7 10 ");
    EXPECT_EQ(removals.entryCount(), 5);
}

TEST(ExtensionOffer, LooksAtFileNamesOnly)
{
    const struct
    {
        const char *source;
        const char *target;
        const char *extension; // empty when not offered
    } cases[] = {{"/data/list.csv", "/data/out", "csv"}, {"/data/list.csv", "/data/out.txt", ""},
        {"/data/archive.tar.gz", "/tmp/out", "gz"}, {"/data/list.csv", "/my.folder/out", "csv"},
        {"/my.folder/list", "/data/out", ""}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.source) + " -> " + c.target);
        const ExtensionOffer offer
            = extensionOffer(QString::fromUtf8(c.source), QString::fromUtf8(c.target));
        EXPECT_EQ(offer.ask, *c.extension != 0);
        EXPECT_EQ(offer.extension, QString::fromUtf8(c.extension));
    }
}

TEST(SavePercent, RoundsHalvesToEvenAndCountsToHundred)
{
    const struct
    {
        qint64 done, lastLineIndex;
        int percent;
    } cases[] = {{0, 9, 0}, {9, 9, 100}, {1, 8, 12}, {3, 8, 38}, {2, 3, 67}, {0, 0, 100}};
    for (const auto &c : cases)
        EXPECT_EQ(savePercent(c.done, c.lastLineIndex), c.percent)
            << c.done << " of " << c.lastLineIndex;
}

} // namespace

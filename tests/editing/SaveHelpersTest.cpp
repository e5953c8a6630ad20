#include "editing/SavePercent.h"
#include "editing/SaveTarget.h"

#include <gtest/gtest.h>

using namespace twinscan;

namespace {

TEST(ExtensionOffer, LooksAtFileNamesOnly)
{
    const struct
    {
        const char *source;
        const char *target;
        bool ask;
        const char *extension;
    } cases[] = {
        {"/data/list.csv", "/data/out", true, "csv"},
        {"/data/list.csv", "/data/out.txt", false, ""},
        {"/data/archive.tar.gz", "/tmp/out", true, "gz"},
        {"/data/list.csv", "/my.folder/out", true, "csv"},
        {"/my.folder/list", "/data/out", false, ""},
        {"/data/list", "/data/out", false, ""},
        {"list.csv", "out", true, "csv"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.source) + " -> " + c.target);
        const ExtensionOffer offer
            = extensionOffer(QString::fromUtf8(c.source), QString::fromUtf8(c.target));
        EXPECT_EQ(offer.ask, c.ask);
        EXPECT_EQ(offer.extension, QString::fromUtf8(c.extension));
    }
    EXPECT_EQ(withExtension(QStringLiteral("/data/out"), QStringLiteral("csv")),
        QStringLiteral("/data/out.csv"));
}

TEST(SavePercent, RoundsHalvesToEvenAndCountsToHundred)
{
    const struct
    {
        qint64 done, lastLineIndex;
        int percent;
    } cases[] = {
        {0, 9, 0},
        {9, 9, 100},
        {1, 8, 12},
        {3, 8, 38},
        {5, 8, 62},
        {1, 3, 33},
        {2, 3, 67},
        {0, 0, 100},
        {5000000, 9999999, 50},
    };
    for (const auto &c : cases)
        EXPECT_EQ(savePercent(c.done, c.lastLineIndex), c.percent)
            << c.done << " of " << c.lastLineIndex;
}

} // namespace

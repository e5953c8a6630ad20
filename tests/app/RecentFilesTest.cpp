#include "app/RecentFiles.h"

#include "app/Module.h"
#include "app/Settings.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

namespace twinscan {
namespace {

using namespace Qt::StringLiterals;

using test::MemorySettingsStore;

// "f1".."fN"
QStringList numbered(int from, int to)
{
    QStringList files;
    for (int i = from; i <= to; ++i)
        files << u"f%1"_s.arg(i);
    return files;
}

TEST(RecentFiles, MostRecentFirstOnceAndTenAtMost)
{
    const struct
    {
        QStringList before;
        QString opened;
        QStringList after;
    } cases[] = {
        {{}, u"a"_s, {u"a"_s}},
        {{u"a"_s, u"b"_s}, u"c"_s, {u"c"_s, u"a"_s, u"b"_s}},
        {{u"a"_s, u"b"_s, u"c"_s}, u"b"_s, {u"b"_s, u"a"_s, u"c"_s}},
        {{u"a"_s, u"b"_s}, u"a"_s, {u"a"_s, u"b"_s}},
        {numbered(1, 10), u"f11"_s, QStringList {u"f11"_s} + numbered(1, 9)},
        {numbered(1, 10), u"f10"_s, QStringList {u"f10"_s} + numbered(1, 9)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(withRecentFile(c.before, c.opened), c.after) << c.opened.toStdString();
}

// The list goes through the settings as the window closes and starts again; a shorter list
// leaves no file of a longer one behind, and a store edited by hand gives a list the window
// could have kept.
TEST(RecentFiles, KeptInTheSettings)
{
    const struct
    {
        const char *name;
        std::vector<std::pair<QString, QString>> stored;
        QStringList written;
        QStringList read;
    } cases[] = {
        {"nothing stored", {}, {}, {}},
        {"three", {}, {u"/c"_s, u"/a b"_s, u"/b"_s}, {u"/c"_s, u"/a b"_s, u"/b"_s}},
        {"shorter than before", {{u"recentFile1"_s, u"/x"_s}, {u"recentFile10"_s, u"/y"_s}},
            {u"/a"_s}, {u"/a"_s}},
        {"ten", {}, numbered(1, 10), numbered(1, 10)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        MemorySettingsStore store;
        for (const auto &[key, value] : c.stored)
            store.values.insert(key, value);
        Module saved;
        saved.recentFiles = c.written;
        saveSettings(store, saved, {windowStateNormal, 0, 0});
        Module loaded;
        loadSettings(store, loaded, {});
        EXPECT_EQ(loaded.recentFiles, c.read);
    }

    const std::tuple<const char *, std::vector<std::pair<QString, QString>>, QStringList> damaged[]
        = {
            {"gaps", {{u"recentFile2"_s, u"/b"_s}, {u"recentFile5"_s, u"/e"_s}},
                {u"/b"_s, u"/e"_s}},
            {"twice",
                {{u"recentFile1"_s, u"/a"_s}, {u"recentFile2"_s, u"/a"_s},
                    {u"recentFile3"_s, u"/c"_s}},
                {u"/a"_s, u"/c"_s}},
            {"past ten", {{u"recentFile10"_s, u"/j"_s}, {u"recentFile11"_s, u"/k"_s}}, {u"/j"_s}},
        };
    for (const auto &[name, stored, read] : damaged) {
        SCOPED_TRACE(name);
        MemorySettingsStore store;
        for (const auto &[key, value] : stored)
            store.values.insert(key, value);
        EXPECT_EQ(readRecentFiles(store), read);
    }
}

} // namespace
} // namespace twinscan

// The desktop's list of recently used files: what GTK and KDE file dialogs offer. Another
// program's entries must survive every write, and a list that cannot be read must survive too.

#include "editing/RecentlyUsed.h"

#include "../engine/EngineTestSupport.h"
#include "editing/RecentUse.h"
#include "engine/FileName.h"

#include <QDir>
#include <QTemporaryDir>
#include <sys/stat.h>

namespace twinscan::test {
namespace {

using namespace Qt::StringLiterals;

const RecentUse use {u"/home/ann/My Lists/list.txt"_s, u"text/plain"_s,
    QDateTime(QDate(2026, 12, 8), QTime(2, 30, 0, 250), Qt::UTC)};
constexpr auto now = "2026-12-08T02:30:00.250Z";

// As GTK writes the head of the list, and as it reads after a copy.
const std::string gtkHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<xbel version=\"1.0\"\n"
                            "      xmlns:bookmark=\"http://www.freedesktop.org/standards/"
                            "desktop-bookmarks\"\n"
                            "      xmlns:mime=\"http://www.freedesktop.org/standards/"
                            "shared-mime-info\"\n"
                            ">\n";
const std::string head
    = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<xbel version=\"1.0\""
      " xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\""
      " xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";

// A bookmark laid out as GTK lays it out; `applications` are whole <bookmark:application> lines.
std::string bookmark(const std::string &href, const std::string &times,
    const std::string &applications, const std::string &mime = "text/plain")
{
    return "  <bookmark href=\"" + href + "\" " + times
        + ">\n"
          "    <info>\n"
          "      <metadata owner=\"http://freedesktop.org\">\n"
          "        <mime:mime-type type=\""
        + mime
        + "\"/>\n"
          "        <bookmark:applications>\n"
        + applications
        + "        </bookmark:applications>\n"
          "      </metadata>\n"
          "    </info>\n"
          "  </bookmark>\n";
}

std::string application(
    const std::string &name, const std::string &exec, const std::string &modified, int count)
{
    return "          <bookmark:application name=\"" + name + "\" exec=\"" + exec + "\" modified=\""
        + modified + "\" count=\"" + std::to_string(count) + "\"/>\n";
}

const std::string earlier = "2026-01-02T03:04:05.000006Z";
const std::string earlierTimes
    = "added=\"" + earlier + "\" modified=\"" + earlier + "\" visited=\"" + earlier + "\"";
const std::string nowTimes
    = "added=\"" + std::string(now) + "\" modified=\"" + now + "\" visited=\"" + now + "\"";
const std::string touchedTimes
    = "added=\"" + earlier + "\" modified=\"" + now + "\" visited=\"" + now + "\"";
const std::string ours = "file:///home/ann/My%20Lists/list.txt";
const std::string ourNewBookmark
    = bookmark(ours, nowTimes, application("Twinscan", "'twinscan %u'", now, 1));
// Another program's entry, with the command quoted as GTK quotes it.
const std::string geditStored = bookmark("file:///tmp/notes.md", earlierTimes,
    application("gedit", "&apos;gedit %u&apos;", earlier, 2), "text/markdown");
const std::string geditCopied = bookmark("file:///tmp/notes.md", earlierTimes,
    application("gedit", "'gedit %u'", earlier, 2), "text/markdown");

TEST(RecentlyUsedList, RecordsAUseAndKeepsEverythingElse)
{
    const struct
    {
        const char *name;
        std::string stored;
        std::optional<std::string> expected; // nothing: the list is left as it is
    } cases[] = {
        {"no list yet", "", head + ourNewBookmark + "</xbel>\n"},
        {"others' entries kept, ours added at the end", gtkHead + geditStored + "</xbel>\n",
            head + geditCopied + ourNewBookmark + "</xbel>\n"},
        {"our entry touched and counted, its other applications kept",
            gtkHead
                + bookmark(ours, earlierTimes,
                    application("gedit", "&apos;gedit %u&apos;", earlier, 2)
                        + application("Twinscan", "&apos;twinscan %u&apos;", earlier, 3))
                + geditStored + "</xbel>\n",
            head
                + bookmark(ours, touchedTimes,
                    application("gedit", "'gedit %u'", earlier, 2)
                        + application("Twinscan", "'twinscan %u'", now, 4))
                + geditCopied + "</xbel>\n"},
        {"the same file spelled with other escapes, used by another program only",
            gtkHead
                + bookmark("file:///home/ann/My%20%4Cists/list.txt", earlierTimes,
                    application("gedit", "&apos;gedit %u&apos;", earlier, 1))
                + "</xbel>\n",
            head
                + bookmark("file:///home/ann/My%20%4Cists/list.txt", touchedTimes,
                    application("gedit", "'gedit %u'", earlier, 1)
                        + application("Twinscan", "'twinscan %u'", now, 1))
                + "</xbel>\n"},
        {"our entry without applications gets them",
            gtkHead + "  <bookmark href=\"" + ours + "\" " + earlierTimes + ">\n  </bookmark>\n"
                + "</xbel>\n",
            head + bookmark(ours, touchedTimes, application("Twinscan", "'twinscan %u'", now, 1))
                + "</xbel>\n"},
        {"malformed", gtkHead + "  <bookmark href=\"file:///a\">\n</xbel>\n", std::nullopt},
        {"more after the list", gtkHead + geditStored + "</xbel>\n<xbel/>\n", std::nullopt},
        {"cut short", gtkHead + geditStored.substr(0, 40), std::nullopt},
        {"another kind of document", "<?xml version=\"1.0\"?>\n<html/>\n", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QByteArray> recorded = recordedUse(c.stored, use);
        ASSERT_EQ(recorded.has_value(), c.expected.has_value());
        if (recorded) {
            EXPECT_EQ(recorded->toStdString(), *c.expected);
        }
    }
}

// The list holds a name's bytes, percent-encoded, so that a name that is not UTF-8 is found.
TEST(RecentlyUsedList, FileUri)
{
    const std::pair<QString, QByteArray> cases[] = {
        {u"/tmp/a b.txt"_s, "file:///tmp/a%20b.txt"},
        {u"/tmp/café 100%.txt"_s, "file:///tmp/caf%C3%A9%20100%25.txt"},
        {fileNameFromBytes("/tmp/caf\xE9"), "file:///tmp/caf%E9"},
        {u"/tmp/a&b,c(1).txt"_s, "file:///tmp/a&b,c(1).txt"},
    };
    for (const auto &[file, uri] : cases)
        EXPECT_EQ(fileUri(file), uri) << file.toStdString();
}

// The list's own file: made with its folder when missing, and left alone when it cannot be read
// as a list; a FIFO in its place must not block.
TEST(RecentlyUsedList, TheFileIsReplacedOrLeftAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        XbelRecentlyUsed list(dir.filePath(u"new/recently-used.xbel"_s));
        EXPECT_EQ(list.record(dir.filePath(u"list.txt"_s)), QString());
        const std::string written = readBytes(list.fileName());
        EXPECT_NE(written.find("<mime:mime-type type=\"text/plain\"/>"), std::string::npos);
        EXPECT_NE(
            written.find(fileUri(dir.filePath(u"list.txt"_s)).toStdString()), std::string::npos);
    }
    const QString malformed = dir.filePath(u"malformed.xbel"_s);
    writeBytes(malformed, "<xbel>\n  <bookmark>\n");
    EXPECT_EQ(XbelRecentlyUsed(malformed).record(u"/tmp/a.txt"_s),
        malformed + u" is not an XBEL document"_s);
    EXPECT_EQ(readBytes(malformed), "<xbel>\n  <bookmark>\n");

    const QString fifo = dir.filePath(u"fifo.xbel"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(XbelRecentlyUsed(fifo).record(u"/tmp/a.txt"_s), fifo + u" is not a regular file"_s);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), 2);
}

// The desktop's place for the list, which the tests never reach: each names a file of its own.
TEST(RecentlyUsedList, LivesInTheUsersDataFolder)
{
    QTemporaryDir data;
    const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    EXPECT_EQ(XbelRecentlyUsed().fileName(), data.filePath(u"recently-used.xbel"_s));
    if (wasSet)
        qputenv("XDG_DATA_HOME", before);
    else
        qunsetenv("XDG_DATA_HOME");
}

} // namespace
} // namespace twinscan::test

// A stream too large for memory, copied to a temporary file with no name.

#include "editing/StreamSpool.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <unistd.h>

namespace twinscan {
namespace {

StreamOverflow overflowOf(const char *read, const char *rest)
{
    StreamOverflow overflow;
    overflow.size = std::strlen(read);
    EXPECT_TRUE(overflow.bytes.resize(overflow.size + 1));
    std::memcpy(overflow.bytes.data(), read, overflow.size);
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    EXPECT_EQ(::write(ends[1], rest, std::strlen(rest)), ssize_t(std::strlen(rest)));
    ::close(ends[1]);
    overflow.stream.reset(ends[0]);
    return overflow;
}

// The copy holds what the load read, then the rest of the stream, under a path that opens it
// while it is held, and leaves no name in the folder.
TEST(StreamSpool, CopiesWhatWasReadAndTheRest)
{
    QTemporaryDir folder;
    StreamOverflow overflow = overflowOf("a\nb", "\nc\n");
    const SpooledStream spooled = spoolStream(overflow, folder.path());
    ASSERT_TRUE(spooled.error.isEmpty()) << spooled.error.toStdString();
    QFile copy(spooled.path);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "a\nb\nc\n");
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(StreamSpool, AFolderThatCannotBeWrittenIsNamed)
{
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("gone"));
    StreamOverflow overflow = overflowOf("a\n", "b\n");
    const SpooledStream spooled = spoolStream(overflow, missing);
    EXPECT_FALSE(spooled.file.isOpen());
    EXPECT_TRUE(spooled.error.startsWith(
        QStringLiteral("Can't write a temporary file in ") + QDir::toNativeSeparators(missing)))
        << spooled.error.toStdString();
}

} // namespace
} // namespace twinscan

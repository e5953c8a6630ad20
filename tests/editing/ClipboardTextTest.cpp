#include "editing/ClipboardText.h"

#include "engine/ItemVectorList.h"

#include <gtest/gtest.h>
#include <string>

using namespace twinscan;

namespace {
// All of `file`'s duplicates, as Copy All copies them.
std::optional<QByteArray> copyAll(
    const std::string &file, const Parallelism &way, const ProgressFn &progress = {})
{
    const auto text = LoadedText::fromBytes(file, way);
    ItemVectorList duplicates;
    duplicates.setSource(text);
    const ScanOutcome outcome = DuplicateScanner(*text, {}, way).run(duplicates);
    return clipboardText(*text, duplicates, outcome.lineEntries, CopyScope::All, progress, way);
}

// One thread in one block, and three threads in blocks of one line; both load in pieces of four
// bytes, so that pieces share pages.
const Parallelism ways[] = {{1, 4, 1 << 14}, {3, 4, 1}};
} // namespace

// Entries come in list order, not file order; each copies its own line as read (Apple and APPLE
// both show Apple), decoded as the lists show it, as UTF-8.
TEST(ClipboardText, EachEntryCopiesItsOwnLineDecodedAsShown)
{
    using namespace std::string_literals;
    for (const auto &[file, copied] :
        {std::pair {"Apple\nb\nAPPLE\nb\n"s, "Apple\r\nAPPLE\r\nb\r\nb\r\n"},
            // Each line in its own encoding, also before pieces and pages of plain ASCII; a
            // byte-order mark inside the file is text.
            {"caf\xe9\n\xef\xbb\xbf\xc3\xa9\ncaf\xe9\n\xef\xbb\xbf\xc3\xa9\n"s
                    + std::string(4096, 'x') + "\na\nb\na\nb\n",
                "caf\xc3\xa9\r\ncaf\xc3\xa9\r\n\xef\xbb\xbf\xc3\xa9\r\n\xef\xbb\xbf\xc3\xa9\r\n"
                "a\r\na\r\nb\r\nb\r\n"},
            // UTF-16: an unpaired surrogate shows as one U+FFFD.
            {"\xff\xfe\xe9\0\n\0a\0\0\xd8\n\0\xe9\0\n\0a\0\0\xd8\n\0"s,
                "\xc3\xa9\r\n\xc3\xa9\r\na\xef\xbf\xbd\r\na\xef\xbf\xbd\r\n"}}) {
        for (const Parallelism &way : ways) {
            SCOPED_TRACE(way.threads);
            EXPECT_EQ(copyAll(file, way), QByteArray(copied));
        }
    }
}

TEST(ClipboardText, AStopCopiesNothing)
{
    EXPECT_EQ(copyAll("a\na\n", ways[0], [](qint64, qint64) { return false; }), std::nullopt);
}

#include "SaveFixture.h"
#include "editing/MarkingRules.h"

using namespace twinscan;
using namespace twinscan::test;

namespace {

// The bytes of UTF-16 text in one byte order, after the byte-order mark.
std::string utf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = char(unit >> 8), low = char(unit & 0xFF);
        bytes += bigEndian ? std::string {high, low} : std::string {low, high};
    }
    return bytes;
}

class Utf16SaveTest : public SaveFixture
{
public:
    // Scans the source and marks every occurrence of each group but the first, as /s 2 does;
    // returns the first entry as the list shows it.
    QString scanAndMark(const std::string &bytes, const ScanOptions &switches)
    {
        scan(bytes, {});
        if (!text)
            return {};
        ItemVectorList duplicates;
        duplicates.setSource(text);
        DuplicateScanner(*text, ScanRules::from(switches)).run(duplicates);
        markAllButFirst(duplicates);
        removals = collectRemovals(duplicates, request.lastLineIndex);
        return duplicates.ListCount() > 0 ? duplicates.List(0) : QString();
    }
};

// Lines split at the code units CR and LF and compare by their decoded text; kept lines come
// back in the file's own bytes and byte order, behind its mark, their breaks in code units, also
// from a pipe, read once and kept in memory.
TEST_F(Utf16SaveTest, ScanAndSaveKeepTheFilesEncoding)
{
    const ScanOptions caseless {0, 0, 0}, exact {1, 0, 0}, trimmed {1, 1, 0};
    const SaveOptions keep {0, 1}, trim {1, 1};
    const struct
    {
        std::u16string text;
        ScanOptions switches;
        SaveOptions options;
        std::u16string saved;
        const char *firstEntry;
        std::string oddByte = {}; // after the text
    } cases[] = {
        {u"Apple\r\nbanana\r\nAPPLE\r\ncherry\r\n", caseless, keep,
            u"Apple\r\nbanana\r\ncherry\r\n", "[1]\tApple"},
        {u"x\ny\nx\n", exact, keep, u"x\ny\n", "[1]\tx"},
        {u"a\rb\ra", exact, keep, u"a\r\nb\r\n", "[1]\ta"},
        {u"q\r\n\u0d0a\r\nq", exact, keep, u"q\r\n\u0d0a\r\n", "[1]\tq"},
        {u"  a  \r\n\t b \r\na", trimmed, trim, u"a\r\n\t b\r\n", "[1]\t  a  "},
        {u"\u00e9\U0001F600\r\n\u00c9\U0001F600\r\n", caseless, keep, u"\u00e9\U0001F600\r\n",
            "[1]\t\u00e9\U0001F600"},
        // Unpaired surrogates stay apart from each other and from U+FFFD.
        {u"a\xD800\r\na\xDC01\r\na\uFFFD\r\na\xD800\r\n", exact, keep,
            u"a\xD800\r\na\xDC01\r\na\uFFFD\r\n", "[1]\ta\uFFFD"},
        {u"k\r\nk\r\nz\r\nz", exact, keep, u"k\r\nz\r\nz", "[1]\tk", "\x41"},
    };
    for (const auto &[bigEndian, pipe] : {std::pair(false, false), {true, false}, {false, true}}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(visible(utf16(c.text, bigEndian)) + (bigEndian ? " BE" : " LE")
                + (pipe ? " from a pipe" : ""));
            const std::string bytes = utf16(c.text, bigEndian) + c.oddByte;
            const QString entry = scanAndMark(bytes, c.switches);
            EXPECT_EQ(entry, QString::fromUtf8(c.firstEntry));
            if (pipe) {
                request.sourceFile.clear();
                request.scanned = LoadedText::fromBytes(bytes);
            }
            request.rules = SaveRules::from(c.options);
            const SaveResult result = saveTo(path("out.txt"));
            EXPECT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
            EXPECT_EQ(visible(readBytes(path("out.txt"))),
                visible(utf16(c.saved, bigEndian) + c.oddByte));
        }
    }
}

} // namespace

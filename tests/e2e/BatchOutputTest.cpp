// The bytes a complete job writes, for the marking rules and the five option switches.

#include "ByteCompare.h"
#include "JobChecks.h"
#include "Sandbox.h"

#include <gtest/gtest.h>
#include <string_view>
#include <vector>

using namespace std::string_view_literals;
using namespace Qt::StringLiterals;

namespace twinscan::e2e {

namespace {

struct OutputCase
{
    const char *name;
    std::string_view input;
    const char *switches; // everything after /i and /o, words separated by single spaces
    std::string_view expected;
};

// Runs the case in a folder of its own: in.txt scanned, out.txt written.
void expectOutput(const OutputCase &c)
{
    SCOPED_TRACE(c.name);
    Sandbox box;
    ASSERT_TRUE(box.isValid());
    const QString input = box.write(u"in.txt"_s, bytes(c.input));
    const RunResult result = box.run(QStringList {u"/i"_s, input, u"/o"_s, box.path(u"out.txt"_s)}
        + QString::fromLatin1(c.switches).split(u' '));
    expectWritten(result);
    const QByteArray expected = bytes(c.expected);
    const QByteArray written = box.read(u"out.txt"_s);
    EXPECT_PRED_FORMAT2(sameBytes, expected, written);
    const QByteArray original = bytes(c.input);
    const QByteArray inputAfter = box.read(u"in.txt"_s);
    EXPECT_PRED_FORMAT2(sameBytes, original, inputAfter);
}

void expectOutputs(const std::vector<OutputCase> &cases)
{
    for (const OutputCase &c : cases)
        expectOutput(c);
}

// Groups without case: apple {1, 3, 5}, banana {2, 6}. With case: apple {1, 5} only.
constexpr std::string_view fruit
    = "apple\r\nBanana\r\nAPPLE\r\ncherry\r\napple\r\nbanana\r\ndate\r\n"sv;
constexpr std::string_view fruitCaseSensitiveAllButFirst
    = "apple\r\nBanana\r\nAPPLE\r\ncherry\r\nbanana\r\ndate\r\n"sv;
constexpr std::string_view fruitIgnoringCaseAllButFirst = "apple\r\nBanana\r\ncherry\r\ndate\r\n"sv;

TEST(BatchOutputTest, MarkRulesWithAndWithoutCase)
{
    expectOutputs({
        {"1 all, case ignored", fruit, "/s 1", "cherry\r\ndate\r\n"sv},
        {"2 all but first, case ignored", fruit, "/s 2", fruitIgnoringCaseAllButFirst},
        {"3 all but last, case ignored", fruit, "/s 3", "cherry\r\napple\r\nbanana\r\ndate\r\n"sv},
        {"1 all, case on", fruit, "/s 1 /c on",
            "Banana\r\nAPPLE\r\ncherry\r\nbanana\r\ndate\r\n"sv},
        {"2 all but first, case on", fruit, "/s 2 /c on", fruitCaseSensitiveAllButFirst},
        {"3 all but last, case on", fruit, "/s 3 /c on",
            "Banana\r\nAPPLE\r\ncherry\r\napple\r\nbanana\r\ndate\r\n"sv},
        {"switch value in capitals", fruit, "/s 2 /c ON", fruitCaseSensitiveAllButFirst},
        {"case off given explicitly", fruit, "/s 2 /c off", fruitIgnoringCaseAllButFirst},
        {"an unknown value leaves the option alone", fruit, "/s 2 /c maybe",
            fruitIgnoringCaseAllButFirst},
        {"the last of a repeated switch counts", fruit, "/s 1 /c off /s 2 /c on",
            fruitCaseSensitiveAllButFirst},
        {"switches in any order", fruit, "/c on /s 2", fruitCaseSensitiveAllButFirst},
        {"quotes around values are removed", fruit, "/s \"2\" /c \"on\"",
            fruitCaseSensitiveAllButFirst},
    });
}

// Lines: x, "  x  ", "", y, "", "   ", "x ". Nothing is equal with the default switches.
constexpr std::string_view spaced = "x\r\n  x  \r\n\r\ny\r\n\r\n   \r\nx \r\n"sv;

TEST(BatchOutputTest, ScanSwitchesDecideWhichLinesAreEqual)
{
    expectOutputs({
        {"trimmed keys join x, '  x  ' and 'x ', empty lines stay out", spaced, "/s 2 /r on",
            "x\r\n\r\ny\r\n\r\n   \r\n"sv},
        {"empty lines take part, a line of spaces is not empty untrimmed", spaced, "/s 2 /e on",
            "x\r\n  x  \r\n\r\ny\r\n   \r\nx \r\n"sv},
        {"trimmed and with empty lines: the spaces line joins them", spaced, "/s 2 /r on /e on",
            "x\r\n\r\ny\r\n"sv},
        {"rule 1 with both removes both groups whole", spaced, "/s 1 /r on /e on", "y\r\n"sv},
        {"nothing left is an empty output", "\r\n\r\n"sv, "/s 1 /e on", ""sv},
        {"a tab is never trimmed", "\tx\r\nx\r\nx\r\n"sv, "/s 2 /r on", "\tx\r\nx\r\n"sv},
        {"trim off given explicitly", "a\r\na \r\na\r\n"sv, "/s 2 /r off", "a\r\na \r\n"sv},
    });
}

// Lines: "  a  ", b, "", b, "   ", "c ", TAB t TAB. Rule 2 removes line 4 only.
constexpr std::string_view untidy = "  a  \r\nb\r\n\r\nb\r\n   \r\nc \r\n\tt\t\r\n"sv;
constexpr std::string_view untidyAsIs = "  a  \r\nb\r\n\r\n   \r\nc \r\n\tt\t\r\n"sv;

TEST(BatchOutputTest, SaveSwitchesShapeTheKeptLines)
{
    expectOutputs({
        {"defaults keep lines as they are", untidy, "/s 2", untidyAsIs},
        {"trim: spaces go, tabs stay, a spaces line becomes empty", untidy, "/s 2 /t on",
            "a\r\nb\r\n\r\n\r\nc\r\n\tt\t\r\n"sv},
        {"no empty lines: only truly empty lines go", untidy, "/s 2 /m off",
            "  a  \r\nb\r\n   \r\nc \r\n\tt\t\r\n"sv},
        {"trim and no empty lines", untidy, "/s 2 /t on /m off", "a\r\nb\r\nc\r\n\tt\t\r\n"sv},
        {"empty lines kept given explicitly", untidy, "/s 2 /m on /t off", untidyAsIs},
    });
}

TEST(BatchOutputTest, LineBreaksFollowTheSource)
{
    expectOutputs({
        {"LF stays LF", "a\nb\na\n"sv, "/s 2", "a\nb\n"sv},
        {"LF, last line without a break gets one", "a\nb\na\nc"sv, "/s 2", "a\nb\nc\n"sv},
        {"CR LF, last line without a break gets one", "a\r\nb\r\na\r\nc"sv, "/s 2",
            "a\r\nb\r\nc\r\n"sv},
        {"lone CR becomes CR LF", "a\rb\ra\r"sv, "/s 2", "a\r\nb\r\n"sv},
        {"the first break decides: lone CR", "a\rb\na\n"sv, "/s 2", "a\r\nb\r\n"sv},
        {"the first break decides: CR LF", "a\r\nb\na\n"sv, "/s 2", "a\r\nb\r\n"sv},
        {"the first break decides: LF", "a\nb\r\na\r\n"sv, "/s 2", "a\nb\n"sv},
        {"the first break of a removed line still decides", "a\nb\r\na\r\n"sv, "/s 1", "b\n"sv},
    });
}

// The UTF-8 byte-order mark is written in octal, "\357\273\277", so that no letter after it
// can run into a hex escape.
TEST(BatchOutputTest, ByteOrderMarkIsKept)
{
    expectOutputs({
        {"kept before the first line", "\357\273\277a\r\nb\r\na\r\n"sv, "/s 2",
            "\357\273\277a\r\nb\r\n"sv},
        {"kept when the first line goes; not part of line 1", "\357\273\277a\r\nb\r\na\r\n"sv,
            "/s 1", "\357\273\277b\r\n"sv},
        {"with LF breaks", "\357\273\277a\nb\na\n"sv, "/s 3", "\357\273\277b\na\n"sv},
        {"not added to a file without one", "a\r\na\r\n"sv, "/s 2", "a\r\n"sv},
    });
}

TEST(BatchOutputTest, LinesAreBytes)
{
    expectOutputs({
        {"UTF-8 letters compare without case", "\xC3\xA9t\xC3\xA9\r\n\xC3\x89T\xC3\x89\r\n"sv,
            "/s 2", "\xC3\xA9t\xC3\xA9\r\n"sv},
        {"Latin-1 letters compare without case", "caf\xE9\r\nCAF\xC9\r\n"sv, "/s 3",
            "CAF\xC9\r\n"sv},
        {"Latin-1 bytes are written back untouched", "\xE9\r\n\xFF\r\n\xE9\r\n"sv, "/s 2",
            "\xE9\r\n\xFF\r\n"sv},
        {"NUL bytes are part of a line", "a\0b\r\na\0c\r\na\0b\r\n"sv, "/s 2",
            "a\0b\r\na\0c\r\n"sv},
    });
}

} // namespace

} // namespace twinscan::e2e

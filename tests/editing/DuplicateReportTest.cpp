#include "editing/DuplicateReport.h"

#include "SaveFixture.h"
#include "editing/MarkingRules.h"
#include "editing/SelectedLines.h"
#include "engine/KeyExtractor.h"
#include "engine/clsListEmu.h"

using namespace twinscan;
using namespace twinscan::test;

namespace {

std::string utf16Le(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text)
        bytes += std::string {char(unit & 0xFF), char(unit >> 8)};
    return bytes;
}

class DuplicateReportTest : public SaveFixture
{
public:
    // Scans the source as the window does, marking every occurrence but the first.
    void scanGroups(const std::string &bytes, ScanRules rules, const KeySpec &key = {})
    {
        scan(bytes, {});
        ASSERT_TRUE(text);
        duplicates.Clear();
        duplicates.setUpperLimit(text->lineCount());
        outcome
            = DuplicateScanner(*text, rules, Parallelism::fromEnvironment(), key).run(duplicates);
        applyMarkRule(duplicates, MarkRule::AllButFirst);
    }
    SaveResult report(const std::optional<KeyExtractor> &key, const ProgressFn &progress = {})
    {
        request.targetFile = path("report.tsv");
        const ReportSource source {*text, duplicates, outcome.lineEntries, key ? &*key : nullptr};
        return saveWritten(
            request, [&](OutputFile &out) { return writeDuplicateReport(out, source, progress); },
            progress);
    }

    clsListEmu duplicates;
    ScanOutcome outcome;
};

const ScanRules exact {true, false, true};
const std::string header = "count\tfirst line\tlines\ttext\n";
const std::string keyHeader = "count\tfirst line\tlines\ttext\tkey\n";

// A row per group in the order of the first lines, its lines in file order and 1-based; the text
// is the first occurrence's, in UTF-8 whatever the file's encoding; a tab or a backslash in a
// field is escaped, so a row stays a row; the key column comes with a key alone.
TEST_F(DuplicateReportTest, WritesARowPerGroup)
{
    KeySpec second;
    second.kind = KeySpec::Kind::Fields;
    second.fields = {2};
    second.separator = ";";
    const struct
    {
        const char *name;
        std::string input;
        ScanRules rules;
        KeySpec key;
        std::string expected;
    } cases[] = {
        {"groups", "b\na\nb\nA\n\n\nc\na\n", exact, {},
            header + "2\t1\t1,3\tb\n2\t2\t2,8\ta\n2\t5\t5,6\t\n"},
        {"the first occurrence's text", "Apple\nAPPLE\napple\n", {false, false, false}, {},
            header + "3\t1\t1,2,3\tApple\n"},
        {"escapes", "a\tb\\c\na\tb\\c\n", exact, {}, header + "2\t1\t1,2\ta\\tb\\\\c\n"},
        {"a key", "1;x\n2;x\n3;y\n4;\\\t\n5;\\\t\n", exact, second,
            keyHeader + "2\t1\t1,2\t1;x\tx\n2\t4\t4,5\t4;\\\\\\t\t\\\\\\t\n"},
        {"one line", "only\n", exact, {}, header},
        {"an empty file", "", exact, {}, header},
        {"all equal", "z\nz\nz\nz", exact, {}, header + "4\t1\t1,2,3,4\tz\n"},
        {"CR LF", "a\r\nb\r\na\r\n", exact, {}, header + "2\t1\t1,3\ta\n"},
        {"Latin-1", "caf\xE9\nx\ncaf\xE9\n", exact, {}, header + "2\t1\t1,3\tcaf\xC3\xA9\n"},
        {"UTF-16", utf16Le(u"\u00e9\r\nq\r\n\u00e9\r\n"), exact, {},
            header + "2\t1\t1,3\t\xC3\xA9\n"},
        {"UTF-16 with an unpaired surrogate", utf16Le(u"a\xD800\r\na\xD800\r\n"), exact, {},
            header + "2\t1\t1,2\ta\xEF\xBF\xBD\n"},
        {"UTF-16 with a key", utf16Le(u"1;\u00e9\r\n2;\u00e9\r\n"), exact, second,
            keyHeader + "2\t1\t1,2\t1;\xC3\xA9\t\xC3\xA9\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        scanGroups(c.input, c.rules, c.key);
        std::optional<KeyExtractor> key;
        if (!c.key.isWholeLine())
            key.emplace(c.key, c.rules);
        const SaveResult result = report(key);
        expectOutcome(result, SaveStatus::Completed, path("report.tsv"), c.expected);
        EXPECT_EQ(visible(readBytes(path("report.tsv"))), visible(c.expected));
    }
}

// The escapes a line cannot hold but a field could.
TEST(ReportEscapes, KeepEveryFieldOnOneLine)
{
    std::string field;
    appendEscaped(field, "a\r\nb\t\\");
    EXPECT_EQ(field, "a\\r\\nb\\t\\\\");
}

// A scan stopped while it listed the groups may end inside one: its row holds what was listed.
TEST_F(DuplicateReportTest, ReportsAStoppedListAsListed)
{
    scanGroups("a\nb\na\nb\na\n", exact);
    duplicates.RemoveItem(duplicates.ListCount() - 1);
    expectOutcome(report({}), SaveStatus::Completed, path("report.tsv"),
        header + "3\t1\t1,3,5\ta\n1\t2\t2\tb\n");
}

// Progress counts entries up to all of them; a stop writes nothing and leaves no file.
TEST_F(DuplicateReportTest, ShowsProgressAndStops)
{
    std::string input;
    for (int n = 0; n < 20000; ++n)
        input += std::to_string(n % 9000) + "\n";
    scanGroups(input, exact);
    for (const bool stop : {false, true}) {
        SCOPED_TRACE(stop);
        QFile::remove(path("report.tsv"));
        qint64 last = -1, total = 0;
        const SaveResult result = report({}, [&](qint64 done, qint64 all) {
            EXPECT_GE(done, last);
            last = done, total = all;
            return !stop || done < 6000;
        });
        EXPECT_EQ(result.status, stop ? SaveStatus::Stopped : SaveStatus::Completed);
        EXPECT_EQ(total, outcome.entryCount);
        EXPECT_EQ(last == total, !stop);
        EXPECT_EQ(QFile::exists(path("report.tsv")), !stop);
        EXPECT_TRUE(leftovers().isEmpty());
    }
}

// The duplicates list's line outputs go through the save's copy: lines in file order, in the
// file's own encoding and break, under the save's rules.
TEST_F(DuplicateReportTest, SavesTheDuplicatedOrTheRemovedLines)
{
    const SaveOptions keep {0, 1}, trimDrop {1, 0};
    const struct
    {
        std::string input;
        LineSelection selection;
        SaveOptions options;
        std::string expected;
    } cases[] = {
        {"b\na\nb\nc\na\nb\n", LineSelection::Duplicated, keep, "b\na\nb\na\nb\n"},
        {"b\na\nb\nc\na\nb\n", LineSelection::Removed, keep, "b\na\nb\n"},
        {"x\r\n \r\ny\r\n \r\n x \r\nx \r\n", LineSelection::Duplicated, trimDrop,
            "x\r\nx\r\nx\r\n"},
        {utf16Le(u"p\r\nq\r\np\r\n"), LineSelection::Removed, keep, utf16Le(u"p\r\n")},
        {"u\nv\n", LineSelection::Duplicated, keep, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(visible(c.input));
        scanGroups(c.input, {true, true, true});
        const RemovalSet marked = collectRemovals(duplicates, int(request.lastLineIndex));
        request.rules = SaveRules::from(c.options);
        request.targetFile = path("lines.txt");
        expectOutcome(
            saveWithRemoval(
                request, linesLeftOut(c.selection, outcome.lineEntries, text->lineCount(), marked)),
            SaveStatus::Completed, path("lines.txt"), c.expected);
    }
}

} // namespace

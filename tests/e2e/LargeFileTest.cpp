// A file past the large-file threshold goes through the same job; its result is checked against
// what awk '!seen[toupper($0)]++' keeps.

#include "ByteCompare.h"
#include "JobChecks.h"
#include "Sandbox.h"

#include <QHash>
#include <gtest/gtest.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace twinscan::e2e {

namespace {

constexpr int lineCount = 40000;
constexpr int distinctValues = 23000;

// Numbered items in a scrambled order, every fourth in capitals, so that about half the lines
// repeat an earlier one, many of them in another case.
QByteArrayList generatedLines()
{
    QByteArrayList lines;
    lines.reserve(lineCount);
    for (int i = 0; i < lineCount; ++i) {
        const int value = int((qint64(i) * 7919) % distinctValues);
        const QByteArray line = "item " + QByteArray::number(value) + " of the list";
        lines << (i % 4 == 1 ? line.toUpper() : line);
    }
    return lines;
}

struct Expectation
{
    QByteArray kept; // the first line of each case-insensitive key, CR LF after each
    int duplicateLines = 0; // lines whose key occurs more than once
    int groups = 0; // keys that occur more than once
};

Expectation awkDeduplicate(const QByteArrayList &lines)
{
    QHash<QByteArray, int> seen;
    Expectation expectation;
    for (const QByteArray &line : lines) {
        if (++seen[line.toUpper()] == 1)
            expectation.kept += line + "\r\n";
    }
    for (const int count : std::as_const(seen)) {
        if (count > 1) {
            expectation.duplicateLines += count;
            ++expectation.groups;
        }
    }
    return expectation;
}

TEST(LargeFileTest, AllButFirstEqualsCaseInsensitiveDeduplication)
{
    Sandbox box;
    ASSERT_TRUE(box.isValid());
    const QByteArrayList lines = generatedLines();
    const QString input = box.write(u"big.txt"_s, lines.join("\r\n") + "\r\n");
    const Expectation expectation = awkDeduplicate(lines);
    ASSERT_GT(expectation.groups, 1000); // the data really holds many duplicates

    const RunResult result
        = box.run({u"/i"_s, input, u"/o"_s, box.path(u"out.txt"_s), u"/s"_s, u"2"_s},
            std::chrono::seconds(120));
    expectWritten(result);
    const QByteArray scanLine = "Scanned " + QByteArray::number(lineCount) + " Lines: Found "
        + QByteArray::number(expectation.duplicateLines) + " Duplicate Lines with "
        + QByteArray::number(expectation.groups) + " Unique Duplicates! (Processing time: ";
    EXPECT_TRUE(result.out.startsWith(scanLine))
        << "expected to start with: " << scanLine.data() << "\n"
        << describe(result);
    const QByteArray written = box.read(u"out.txt"_s);
    EXPECT_PRED_FORMAT2(sameBytes, expectation.kept, written);
}

} // namespace

} // namespace twinscan::e2e

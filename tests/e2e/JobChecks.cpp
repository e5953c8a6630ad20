#include "JobChecks.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace twinscan::e2e {

const char *const scanLinePattern = R"(Scanned \d+ Lines: Found \d+ Duplicate Lines with \d+ )"
                                    R"(Unique Duplicates! \(Processing time: \d+:\d\d\)\n)";
const char *const doneLinePattern = R"(Done! \(Processing time: \d+:\d\d\)\n)";
const char *const noDuplicatesLinePattern
    = R"(No Duplicate Lines Found\.\.\. \(Processing time: \d+:\d\d\)\n)";

bool matchesLines(const QByteArray &text, std::initializer_list<const char *> patterns)
{
    QString whole;
    for (const char *pattern : patterns)
        whole += QString::fromLatin1(pattern);
    const QRegularExpression expression(QRegularExpression::anchoredPattern(whole));
    return expression.match(QString::fromUtf8(text)).hasMatch();
}

void expectWritten(const RunResult &result)
{
    EXPECT_TRUE(result.finished && result.exitCode == 0) << describe(result);
    EXPECT_TRUE(matchesLines(result.out, {scanLinePattern, doneLinePattern}))
        << "standard output must hold the scan's and the save's lines\n"
        << describe(result);
    EXPECT_TRUE(result.err.isEmpty()) << "nothing belongs on standard error\n" << describe(result);
}

void expectNothingToRemove(const RunResult &result)
{
    EXPECT_TRUE(result.finished && result.exitCode == 1) << describe(result);
    EXPECT_TRUE(matchesLines(result.out, {noDuplicatesLinePattern})) << describe(result);
    EXPECT_TRUE(result.err.isEmpty()) << describe(result);
}

} // namespace twinscan::e2e

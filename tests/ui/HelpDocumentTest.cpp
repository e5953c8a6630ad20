#include "ui/HelpDocument.h"

#include "support/FakeServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace twinscan::test {
namespace {

struct HelpCase
{
    const char *name;
    bool beside;
    bool installed;
    bool shellOpens;
    const char *opened; // relative to the tree, empty when the shell is not asked
    bool told;
};

void PrintTo(const HelpCase &row, std::ostream *out)
{
    *out << row.name;
}

class HelpDocument : public ::testing::TestWithParam<HelpCase>
{
};

// A tree with the program in bin/ and the documentation where an install puts it.
TEST_P(HelpDocument, OpensTheFirstPlaceThatHoldsItAndTellsWhenItCannot)
{
    const HelpCase &row = GetParam();
    QTemporaryDir tree;
    QDir(tree.path()).mkpath(QStringLiteral("bin"));
    QDir(tree.path()).mkpath(QStringLiteral("share/doc/twinscan"));
    for (const auto &[wanted, file] : {std::pair {row.beside, "bin/ReadMe.html"},
             std::pair {row.installed, "share/doc/twinscan/ReadMe.html"}}) {
        QFile document(tree.filePath(QLatin1String(file)));
        ASSERT_TRUE(!wanted || document.open(QIODevice::WriteOnly));
    }
    FakeShell shell;
    shell.succeeds = row.shellOpens;
    FakeMessageBoxes messages;

    openHelpDocument(nullptr, shell, messages, "Twinscan", tree.filePath(QStringLiteral("bin")));

    const QString expected = *row.opened ? tree.filePath(QLatin1String(row.opened)) : QString();
    EXPECT_EQ(shell.opened.empty() ? QString() : shell.opened.front().toLocalFile(), expected);
    ASSERT_EQ(messages.shown.size(), row.told ? 1u : 0u);
    if (row.told) {
        EXPECT_EQ(messages.shown.front().icon, MessageIcon::Exclamation);
    }
}

INSTANTIATE_TEST_SUITE_P(Places, HelpDocument,
    ::testing::Values(HelpCase {"BesideTheProgram", true, false, true, "bin/ReadMe.html", false},
        HelpCase {"Installed", false, true, true, "share/doc/twinscan/ReadMe.html", false},
        HelpCase {"BesideComesFirst", true, true, true, "bin/ReadMe.html", false},
        HelpCase {"Missing", false, false, true, "", true},
        HelpCase {"ShellRefuses", true, false, false, "bin/ReadMe.html", true}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace twinscan::test

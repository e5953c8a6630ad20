#include "ui/HelpDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// An installed tree may lack share/doc altogether, so F1 looks beside the program first and then
// in the program's own data folder, and never relies on the documentation folder.
TEST(HelpDocumentPath, FindsTheDocumentBesideTheProgramOrInItsDataFolder)
{
    const struct
    {
        QStringList present;
        QString found;
    } cases[] = {
        {{"share/twinscan/ReadMe.html"}, "share/twinscan/ReadMe.html"},
        {{"bin/ReadMe.html", "share/twinscan/ReadMe.html"}, "bin/ReadMe.html"},
        {{"share/doc/twinscan/ReadMe.html"}, {}},
    };
    for (const auto &[present, found] : cases) {
        SCOPED_TRACE(present.join(u' ').toStdString());
        QTemporaryDir tree;
        ASSERT_TRUE(tree.isValid());
        QDir root(tree.path());
        ASSERT_TRUE(root.mkpath(QStringLiteral("bin")));
        for (const QString &file : present) {
            ASSERT_TRUE(root.mkpath(QFileInfo(file).path()));
            QFile document(root.filePath(file));
            ASSERT_TRUE(document.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(helpDocumentPath(root.filePath(QStringLiteral("bin"))),
            found.isEmpty() ? QString() : root.filePath(found));
    }
}

} // namespace
} // namespace twinscan

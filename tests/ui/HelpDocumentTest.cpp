#include "ui/HelpDocument.h"

#include "support/FakeServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace twinscan::test {
namespace {

// A tree with the program in bin/ and the documentation where an install puts it.
TEST(HelpDocument, OpensTheFirstPlaceThatHoldsItAndTellsWhenItCannot)
{
    const char *beside = "bin/ReadMe.html", *installed = "share/doc/twinscan/ReadMe.html";
    const std::tuple<std::vector<const char *>, bool, const char *> cases[]
        = {{{beside}, true, beside}, {{installed}, true, installed},
            {{installed, beside}, true, beside}, {{}, true, ""}, {{beside}, false, beside}};
    for (const auto &[present, shellOpens, expected] : cases) {
        QTemporaryDir tree;
        QDir(tree.path()).mkpath("share/doc/twinscan");
        QDir(tree.path()).mkpath("bin");
        for (const char *document : present)
            QFile(tree.filePath(document)).open(QIODevice::WriteOnly);
        FakeShell shell;
        shell.succeeds = shellOpens;
        FakeMessageBoxes messages;
        openHelpDocument(nullptr, shell, messages, "Twinscan", tree.filePath("bin"));
        const QString opened = shell.opened.empty() ? "" : shell.opened.front().toLocalFile();
        EXPECT_EQ(opened, *expected ? tree.filePath(expected) : "") << expected;
        // A missing document or a refusal is told.
        EXPECT_EQ(messages.shown.size(), opened.isEmpty() || !shellOpens ? 1u : 0u) << expected;
    }
}

} // namespace
} // namespace twinscan::test

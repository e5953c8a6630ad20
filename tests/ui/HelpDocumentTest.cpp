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
    const struct
    {
        std::vector<const char *> present;
        bool shellOpens;
        const char *opened;
    } cases[] = {{{beside}, true, beside}, {{installed}, true, installed},
        {{installed, beside}, true, beside}, {{}, true, ""}, {{beside}, false, beside}};
    for (const auto &c : cases) {
        QTemporaryDir tree;
        QDir(tree.path()).mkpath("share/doc/twinscan");
        QDir(tree.path()).mkpath("bin");
        for (const char *document : c.present)
            QFile(tree.filePath(document)).open(QIODevice::WriteOnly);
        FakeShell shell;
        shell.succeeds = c.shellOpens;
        FakeMessageBoxes messages;
        openHelpDocument(nullptr, shell, messages, "Twinscan", tree.filePath("bin"));
        const QString opened = shell.opened.empty() ? "" : shell.opened.front().toLocalFile();
        EXPECT_EQ(opened, *c.opened ? tree.filePath(c.opened) : "") << c.opened;
        // A missing document or a refusal is told.
        EXPECT_EQ(messages.shown.size(), opened.isEmpty() || !c.shellOpens ? 1u : 0u) << c.opened;
    }
}

} // namespace
} // namespace twinscan::test

#include "support/WindowFixture.h"
#include "ui/cProgressBar.h"

#include <QFile>
#include <QListView>
#include <QToolButton>
#include <sys/stat.h>
#include <unistd.h>

namespace twinscan::test {
namespace {

class SaveWindow : public WindowFixture
{
protected:
    // Scans `text` from list.csv and marks every occurrence but the first.
    QString scanAndMark(const std::string &text)
    {
        const QString source = writeFile("list.csv", text);
        scan(source);
        window->mnuSelAllButFirst_Click();
        return source;
    }
    void save(const QString &target)
    {
        fakes.dialogs.saveAnswers.push_back(target);
        window->cmdSave_Click();
    }
    const MainWindowUi &ui() const { return window->ui(); }
};

TEST_F(SaveWindow, WritesTheFileWithoutTheMarkedLines)
{
    scanAndMark("a\r\nb\r\na\r\nc\r\nb\r\na");
    module().lastSavedFile = path("earlier.txt");
    fakes.clock.readings = {86398.0, 3.0}; // the save runs across midnight
    save(path("out.txt"));

    EXPECT_EQ(readFile(path("out.txt")), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(status(), "Done! (Processing time: 0:05)");
    EXPECT_EQ(module().statistics.statDupsDeleted, 3);
    EXPECT_EQ(module().lastSavedFile, path("out.txt"));
    ASSERT_EQ(fakes.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(fakes.dialogs.saveRequests[0].initialFile, path("earlier.txt"));
    EXPECT_EQ(fakes.dialogs.saveRequests[0].filter, "All Files (*.*)|*.*");
    EXPECT_TRUE(fakes.dialogs.saveRequests[0].overwritePrompt);
    EXPECT_EQ(fakes.dialogs.saveRequests[0].defaultExtension, QString()); // list.csv has one
    EXPECT_EQ(window->session()->lists().lstLines->ListCount(), 0);
    EXPECT_TRUE(ui().cmdSave->isEnabled());
    EXPECT_TRUE(ui().cmdStop->isHidden());
    EXPECT_FALSE(module().isBusy);
    // The marks stay, so the same selection can be saved again.
    EXPECT_TRUE(window->session()->lists().List2->Selected(1));
}

TEST_F(SaveWindow, EarlyEndsOfTheSave)
{
    const QString source = writeFile("list.csv", "a\na\n");
    scan(source);

    window->cmdSave_Click(); // nothing marked yet
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text,
        "Please select lines to remove by marking them in the duplicates list!");
    EXPECT_EQ(fakes.messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(fakes.dialogs.saveRequests.empty());

    window->mnuSelAll_Click();
    save(QString()); // the dialog is cancelled
    EXPECT_EQ(status(), "No file selected...");

    QFile::remove(source);
    window->cmdSave_Click();
    EXPECT_EQ(fakes.messages.shown.back().text, "Can't find original file!");
    EXPECT_EQ(fakes.messages.shown.back().icon, MessageIcon::Stop);
    EXPECT_EQ(status(), "Can't find original file!");
    EXPECT_FALSE(ui().cmdSave->isEnabled());
    EXPECT_FALSE(module().isBusy);
}

TEST_F(SaveWindow, OffersTheSourcesExtensionForATargetWithoutOne)
{
    struct Case
    {
        MessageAnswer answer;
        QString written; // empty: nothing written
    };
    const Case cases[] = {
        {MessageAnswer::Yes, "out.csv"}, {MessageAnswer::No, "out"}, {MessageAnswer::Cancel, ""}};
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.answer));
        QFile::remove(path("out"));
        QFile::remove(path("out.csv"));
        scanAndMark("x\nx\n");
        fakes.messages.shown.clear();
        fakes.messages.answers = {c.answer};
        save(path("out"));
        ASSERT_EQ(fakes.messages.shown.size(), 1u);
        EXPECT_EQ(fakes.messages.shown[0].text,
            "The new filename does not contain an extension. Would you\nlike to add the "
            "same as the original filename? (Recommended)");
        EXPECT_EQ(fakes.messages.shown[0].buttons, MessageButtons::YesNoCancel);
        if (c.written.isEmpty()) {
            EXPECT_FALSE(QFile::exists(path("out")) || QFile::exists(path("out.csv")));
            EXPECT_TRUE(status().startsWith("Scanned"));
        } else {
            EXPECT_EQ(readFile(path(c.written)), "x\n");
        }
        EXPECT_FALSE(module().isBusy);
    }
}

TEST_F(SaveWindow, SavingOverTheScannedFileReplacesItInPlace)
{
    const QString source = scanAndMark("k\nk\nl\n");
    ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), 0640), 0);
    scan(source); // the stamp changed with the permissions
    window->mnuSelAllButFirst_Click();
    save(source);

    EXPECT_EQ(readFile(source), "k\nl\n");
    EXPECT_FALSE(QFile::exists(source + ".twintemp"));
    EXPECT_EQ(module().lastSavedFile, source);
    struct stat st
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(source).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_TRUE(fakes.messages.shown.empty()); // no extension prompt for the source itself
}

TEST_F(SaveWindow, RefusesAFileThatChangedSinceTheScan)
{
    const QString source = scanAndMark("m\nm\n");
    writeFile("list.csv", "other\nm\nm\n");
    save(path("out.txt"));
    const QString refusal
        = "The file has changed since it was scanned. Please scan it again before saving.";
    EXPECT_EQ(status(), refusal);
    ASSERT_FALSE(fakes.messages.shown.empty());
    EXPECT_EQ(fakes.messages.shown.back().text, refusal);
    EXPECT_FALSE(QFile::exists(path("out.txt")));
    EXPECT_TRUE(fakes.dialogs.saveRequests.empty()); // refused before asking for a target
    EXPECT_EQ(readFile(source), "other\nm\nm\n");
    EXPECT_EQ(module().statistics.statDupsDeleted, 0);
    EXPECT_FALSE(module().isBusy);
    EXPECT_TRUE(ui().cmdScan->isEnabled());
    EXPECT_FALSE(ui().cmdSave->isEnabled()); // only a new scan can make these results savable
}

// A failed scan of another file changes currentFile, but the results, and so the save, still
// belong to the file that was scanned.
TEST_F(SaveWindow, AfterAFailedScanTheSaveStillReadsTheScannedFile)
{
    scanAndMark("g\nh\ng\n");
    scan(writeFile("empty.txt", ""));
    ASSERT_EQ(status(), "Error: File Is Empty!");
    ASSERT_TRUE(ui().cmdSave->isEnabled());
    save(path("out.txt"));
    EXPECT_EQ(readFile(path("out.txt")), "g\nh\n");
    EXPECT_EQ(readFile(path("empty.txt")), "");
}

TEST_F(SaveWindow, AHardLinkToTheSourceIsRememberedUnderItsOwnName)
{
    const QString source = scanAndMark("v\nv\n");
    const QString link = path("hard.csv");
    ASSERT_EQ(
        ::link(QFile::encodeName(source).constData(), QFile::encodeName(link).constData()), 0);
    save(link);
    EXPECT_EQ(readFile(link), "v\n");
    EXPECT_EQ(readFile(source), "v\nv\n");
    EXPECT_EQ(module().lastSavedFile, link);
}

TEST_F(SaveWindow, AFolderThatDoesNotExistIsAClearErrorAndTheWindowStaysUsable)
{
    const QString source = scanAndMark("n\nn\n");
    save(path("no/such/folder/out.txt"));
    EXPECT_TRUE(status().contains("no/such/folder/out.txt")) << status().toStdString();
    EXPECT_FALSE(status().startsWith("Done!"));
    EXPECT_EQ(module().statistics.statDupsDeleted, 0);
    EXPECT_EQ(readFile(source), "n\nn\n");
    EXPECT_FALSE(module().isBusy);
    EXPECT_FALSE(ui().cmdScan->isHidden());
    EXPECT_TRUE(ui().cmdSave->isEnabled());
}

TEST_F(SaveWindow, StopDuringTheSave)
{
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        SCOPED_TRACE(int(answer));
        const QString source = scanAndMark("s\ns\nt\n");
        duringRun([this] { return status().startsWith("Saving File"); },
            [this] { window->cmdStop_Click(); });
        fakes.messages.answers = {answer};
        module().batchMode = false;
        save(source);
        if (answer == MessageAnswer::Yes) {
            EXPECT_EQ(status(), "Done! (Interrupted by User)");
            EXPECT_EQ(readFile(source), "s\ns\nt\n");
            EXPECT_TRUE(QFile::exists(source + ".twintemp"));
            EXPECT_EQ(module().statistics.statDupsDeleted, 1); // only the first run's line
        } else {
            EXPECT_EQ(readFile(source), "s\nt\n");
            EXPECT_EQ(module().statistics.statDupsDeleted, 1);
        }
        EXPECT_FALSE(module().isBusy);
        QFile::remove(source + ".twintemp");
    }
}

TEST_F(SaveWindow, MarkingMovesTheCurrentItemToTheTop)
{
    scan(writeFile("list.txt", "p\nq\np\nq\n"));
    window->List2Box().setSelected(0, true);
    ui().List2->setCurrentIndex(window->List2Box().index(3));
    window->mnuInvert_Click();
    EXPECT_EQ(ui().List2->currentIndex().row(), 0);
    EXPECT_FALSE(window->bulkMarking);
    EXPECT_EQ(
        window->List2Box().data(window->List2Box().index(0), Qt::CheckStateRole), Qt::Unchecked);
    EXPECT_EQ(
        window->List2Box().data(window->List2Box().index(1), Qt::CheckStateRole), Qt::Checked);
}

TEST_F(SaveWindow, MarkingALargeFileWorksOnTheEmulationOnly)
{
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += std::to_string(i % 20000) + "\n";
    scan(writeFile("big.txt", text));
    ASSERT_TRUE(window->session()->largeFileMode());
    window->mnuSelAllButLast_Click();

    const LineList &list2 = *window->session()->lists().List2;
    ASSERT_EQ(list2.ListCount(), 40000);
    EXPECT_TRUE(list2.Selected(0));
    EXPECT_FALSE(list2.Selected(1));
    EXPECT_EQ(window->List2Box().rowCount(), 1);
    EXPECT_FALSE(window->List2Box().Selected(0));
    EXPECT_FALSE(window->List2Box().flags(window->List2Box().index(0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(ui().List2->currentIndex().isValid());

    save(path("out.txt"));
    EXPECT_EQ(module().statistics.statDupsDeleted, 20000);
    std::string expected;
    for (int i = 0; i < 20000; ++i)
        expected += std::to_string(i) + "\n";
    EXPECT_EQ(readFile(path("out.txt")), expected);
}

} // namespace
} // namespace twinscan::test

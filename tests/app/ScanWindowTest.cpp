#include "support/WindowFixture.h"
#include "ui/cProgressBar.h"

#include <QListView>
#include <QToolButton>

namespace twinscan::test {
namespace {

class ScanWindow : public WindowFixture
{
protected:
    const MainWindowUi &ui() const { return window->ui(); }

    // The controls of an idle window after a run: Open shown, Stop hidden, not busy.
    void expectIdle() const
    {
        EXPECT_FALSE(ui().cmdScan->isHidden());
        EXPECT_TRUE(ui().cmdScan->isEnabled());
        EXPECT_TRUE(ui().cmdStop->isHidden());
        EXPECT_TRUE(ui().cmdAbout->isEnabled());
        EXPECT_TRUE(ui().cmdSettings->isEnabled());
        EXPECT_FALSE(module().isBusy);
        EXPECT_EQ(window->progress().Value(), window->progress().Max());
    }
    void expectSaveAndView(bool enabled) const
    {
        EXPECT_EQ(ui().cmdSave->isEnabled(), enabled);
        EXPECT_EQ(ui().cmdView->isEnabled(), enabled);
    }
};

TEST_F(ScanWindow, ReportsEveryOccurrenceUnderTheFirstOccurrencesText)
{
    const QString file = writeFile("six.txt", "a\nb\nA\na\nb\nc\n");
    scan(file);

    EXPECT_EQ(status(),
        "Scanned 6 Lines: Found 5 Duplicate Lines with 2 Unique Duplicates! "
        "(Processing time: 0:00)");
    EXPECT_EQ(list2Texts(), QStringList({"[1]\ta", "[3]\ta", "[4]\ta", "[2]\tb", "[5]\tb"}));
    EXPECT_EQ(window->session()->lists().lstShow->ListCount(), 6);
    EXPECT_EQ(window->session()->lastLineIndex(), 5);
    EXPECT_EQ(window->windowTitle(), "Twinscan 2.5 - " + file);
    EXPECT_EQ(module().lastLoadedFile, file);
    expectIdle();
    expectSaveAndView(true);
    const UsageStatistics &stats = module().statistics;
    EXPECT_EQ(stats.statFilesOpened, 1);
    EXPECT_EQ(stats.statLinesScanned, 6);
    EXPECT_EQ(stats.statDupsFound, 5);
    EXPECT_EQ(stats.statUniqueDupsFound, 2);
}

TEST_F(ScanWindow, OpenDialogStartsAtTheLastLoadedFile)
{
    module().lastLoadedFile = path("before.txt");
    window->cmdScan_Click(); // cancelled: no answer scripted
    ASSERT_EQ(fakes.dialogs.openRequests.size(), 1u);
    const FileDialogRequest &request = fakes.dialogs.openRequests.front();
    EXPECT_EQ(request.initialFile, path("before.txt"));
    EXPECT_EQ(request.filter, "All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
    EXPECT_EQ(request.defaultExtension, "TXT");
    EXPECT_TRUE(request.mustExist);
    EXPECT_TRUE(window->currentFile.isEmpty());
    EXPECT_FALSE(module().isBusy);
}

TEST_F(ScanWindow, FileWithoutDuplicatesKeepsSaveDisabled)
{
    scan(writeFile("one.txt", "only line"));
    EXPECT_EQ(status(), "No Duplicate Lines Found... (Processing time: 0:00)");
    expectSaveAndView(false);
    expectIdle();
    EXPECT_EQ(module().statistics.statFilesOpened, 1);
}

TEST_F(ScanWindow, FailedChecksKeepThePreviousResults)
{
    scan(writeFile("dups.txt", "x\r\nx\r\n"));
    ASSERT_EQ(list2Texts(), QStringList({"[1]\tx", "[2]\tx"}));

    struct Case
    {
        QString file;
        QString message;
    };
    const Case cases[] = {{writeFile("empty.txt", ""), "Error: File Is Empty!"},
        {path("missing.txt"), "Error: Can't Open File"}, {dir.path(), "Error: Can't Open File"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        scan(c.file);
        EXPECT_EQ(status(), c.message);
        EXPECT_EQ(window->currentFile, c.file);
        EXPECT_EQ(list2Texts(), QStringList({"[1]\tx", "[2]\tx"}));
        EXPECT_EQ(module().lastLoadedFile, path("dups.txt"));
        expectSaveAndView(true);
        expectIdle();
    }
    EXPECT_EQ(module().statistics.statFilesOpened, 1);
}

TEST_F(ScanWindow, ProcessingTimeWrapsAtMidnight)
{
    fakes.clock.readings = {86390.0, 15.0}; // 23:59:50 to 00:00:15
    scan(writeFile("xx.txt", "x\nx\n"));
    EXPECT_EQ(status(),
        "Scanned 2 Lines: Found 2 Duplicate Lines with 1 Unique Duplicates! "
        "(Processing time: 0:25)");
}

TEST_F(ScanWindow, TheWindowIsBusyWhileTheScanRuns)
{
    bool sawBusy = false;
    duringRun([] { return module().isBusy; },
        [&] {
            sawBusy = ui().cmdScan->isHidden() && !ui().cmdStop->isHidden()
                && !ui().cmdSave->isEnabled() && !ui().cmdSettings->isEnabled()
                && !ui().cmdAbout->isEnabled() && window->cursor().shape() == Qt::BusyCursor;
        });
    scan(writeFile("xx.txt", "x\nx\n"));
    EXPECT_TRUE(sawBusy);
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ScanWindow, StopAnsweredNoChangesNothing)
{
    const std::string text = "q\nw\nq\nQ\n e\nw\n";
    scan(writeFile("plain.txt", text));
    const QString plainStatus = status();
    const QStringList plain = list2Texts();

    duringRun([this] { return status().startsWith("Processing File"); },
        [this] { window->cmdStop_Click(); });
    fakes.messages.answers = {MessageAnswer::No};
    scan(writeFile("stopped.txt", text));

    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, "Are you sure you want to stop processing?");
    EXPECT_EQ(fakes.messages.shown[0].title, "Twinscan");
    EXPECT_EQ(fakes.messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(fakes.messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(list2Texts(), plain);
    EXPECT_EQ(status(), plainStatus);
    expectSaveAndView(true);
}

// The previous file's lines and entries must not stay on screen under the new file's name.
TEST_F(ScanWindow, AStopWhileTheFileIsReadEmptiesTheLists)
{
    scan(writeFile("first.txt", "f\nf\n"));
    duringRun([this] { return status().startsWith("Loading file... "); },
        [this] { window->cmdStop_Click(); });
    fakes.messages.answers = {MessageAnswer::Yes};
    scan(writeFile("second.txt", "s\ns\n"));

    EXPECT_EQ(status(), "No Duplicate Lines Found (Interuppted By User) (Processing time: 0:00)");
    EXPECT_EQ(window->lstShowBox().rowCount(), 0);
    EXPECT_EQ(window->List2Box().rowCount(), 0);
    expectSaveAndView(false);
    expectIdle();
    EXPECT_EQ(module().statistics.statFilesOpened, 1);
}

TEST_F(ScanWindow, AStopWhileGroupingListsTheDuplicatesGroupedSoFar)
{
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += std::to_string(i) + "\n" + std::to_string(i) + "\n";
    module().batchMode = true; // no large-file message
    module().request.inputFile = writeFile("pairs.txt", text);
    duringRun(
        [this] { return status().startsWith("Processing File... ") && !status().endsWith(" 0%"); },
        [this] { window->cmdStop_Click(); });
    fakes.messages.answers = {MessageAnswer::Yes};
    EXPECT_EQ(window->scan(), ScanEnding::StoppedByUser);

    const int found = window->session()->lists().List2->ListCount();
    EXPECT_GT(found, 0);
    EXPECT_LT(found, 40000);
    EXPECT_EQ(status(),
        QString("%1 Duplicate Lines Found (Interuppted By User) (Processing time: 0:00)")
            .arg(found));
    expectSaveAndView(false);
    EXPECT_EQ(module().statistics.statDupsFound, 0);
}

TEST_F(ScanWindow, LargeFilesUseTheEmulationsFromExactly32768Lines)
{
    for (const int lines : {32767, 32768}) {
        SCOPED_TRACE(lines);
        fakes.messages.shown.clear();
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += std::to_string(i % 1000) + "\n";
        scan(writeFile("big.txt", text));

        const bool large = lines == 32768;
        EXPECT_EQ(window->session()->largeFileMode(), large);
        EXPECT_EQ(fakes.messages.shown.size(), large ? 1u : 0u);
        if (large) {
            EXPECT_EQ(fakes.messages.shown[0].text,
                "This file contains more than 32768 lines! You can still use Twinscan as "
                "usual, but the result will not be displayed visually...");
            EXPECT_EQ(fakes.messages.shown[0].icon, MessageIcon::Information);
        }
        EXPECT_EQ(window->session()->lists().lstShow == &window->lstShowBox(), !large);
        EXPECT_EQ(window->lstShowBox().rowCount(), large ? 1 : lines);
        EXPECT_EQ(window->List2Box().rowCount(), large ? 1 : lines);
        if (large) {
            EXPECT_EQ(window->lstShowBox().List(0), "No preview available...");
        }
        EXPECT_EQ(window->session()->lists().List2->ListCount(), lines);
        EXPECT_EQ(status(),
            QString("Scanned %1 Lines: Found %1 Duplicate Lines with 1000 Unique "
                    "Duplicates! (Processing time: 0:00)")
                .arg(lines));
    }
}

TEST_F(ScanWindow, LargeFileMessageIsNotShownInAnUnattendedRun)
{
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += "line\n";
    module().batchMode = true;
    module().request.inputFile = writeFile("big.txt", text);
    window->cmdScan_Click();
    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_TRUE(window->session()->largeFileMode());
    EXPECT_EQ(window->session()->lists().List2->ListCount(), 40000);
}

} // namespace
} // namespace twinscan::test

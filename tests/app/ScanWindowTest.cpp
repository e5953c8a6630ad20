#include "support/MemoryCap.h"
#include "support/WindowFixture.h"
#include "ui/PictureBox.h"
#include "ui/cProgressBar.h"

#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <functional>
#include <new>

namespace twinscan::test {
namespace {

class ScanWindow : public WindowFixture
{
protected:
    // The controls of an idle window after a run: Open shown, Stop hidden, not busy, and Save and
    // View as the results allow.
    void expectIdle(bool savable) const
    {
        EXPECT_TRUE(!ui().cmdScan->isHidden() && ui().cmdStop->isHidden());
        EXPECT_TRUE(ui().cmdSettings->isEnabled() && !module().isBusy);
        EXPECT_EQ(window->progress().Value(), window->progress().Max());
        EXPECT_EQ(ui().cmdSave->isEnabled(), savable);
        EXPECT_EQ(ui().cmdView->isEnabled(), savable);
    }
};

std::string pairs(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::to_string(i) + "\n" + std::to_string(i) + "\n";
    return text;
}

// A file without duplicates, the smallest that is not empty, leaves nothing to save or view.
TEST_F(ScanWindow, ReportsTheScanInTheStatus)
{
    const std::pair<std::string, QString> cases[] = {
        {"a\nb\nA\na\nb\nc\n",
            "Scanned 6 Lines: Found 5 Duplicate Lines with 2 Unique Duplicates! "
            "(Processing time: 0:00)"},
        {"x", "No Duplicate Lines Found... (Processing time: 0:00)"},
    };
    for (const auto &[text, message] : cases) {
        scan(writeFile("scanned.txt", text));
        EXPECT_EQ(status(), message);
        expectIdle(text != "x");
    }
}

TEST_F(ScanWindow, FailedChecksKeepThePreviousResults)
{
    scan(writeFile("dups.txt", "x\r\nx\r\n"));
    const ScanSession *results = window->session();
    const std::pair<QString, const char *> cases[] = {
        {writeFile("empty.txt", ""), "Error: File Is Empty!"},
        {path("missing.txt"), "Error: Can't Open File"}, {dir.path(), "Error: Can't Open File"}};
    for (const auto &[file, message] : cases) {
        SCOPED_TRACE(file.toStdString());
        scan(file);
        EXPECT_EQ(status(), message);
        EXPECT_EQ(window->session(), results);
        EXPECT_EQ(window->List2Box().rowCount(), 2);
        expectIdle(true);
    }
}

// Memory that runs out ends the command with what it could not do, in the status and a box; what
// the command held goes, the window stays usable and the files stay as they were. A scan that runs
// out after the new file's results replaced the old ones leaves nothing to save.
TEST_F(ScanWindow, RunningOutOfMemoryEndsTheCommandWithAMessage)
{
    qputenv("TWINSCAN_THREADS", "1"); // no thread to start under the cap
    std::string many;
    for (int n = 0; n < 400000; ++n)
        many += "a duplicate line\n";
    const QString source = writeFile("dups.txt", many);
    const auto copyUnderACap = [this] {
        const MemoryCap cap(1 << 20);
        window->copyEntries(CopyScope::All);
    };
    const struct
    {
        const char *what;
        std::function<void()> command;
        QString status;
        bool savable;
    } cases[] = {
        {"scan",
            [this] {
                fakes.clock.beforeReading = [this] {
                    if (status().startsWith("Processing File"))
                        throw std::bad_alloc();
                };
                scan(writeFile("other.txt", "y\ny\n"));
            },
            "Not enough memory to scan " + path("other.txt") + ".", false},
        {"save",
            [this] {
                fakes.clock.beforeReading = [] { throw std::bad_alloc(); };
                fakes.dialogs.saveAnswers.push_back(path("dups.txt"));
                window->cmdSave_Click();
            },
            "Not enough memory to save " + path("dups.txt") + ".", true},
        {"copy", copyUnderACap, "Not enough memory to copy the lines to the clipboard.", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fakes.clock.beforeReading = nullptr;
        scan(source);
        window->markBy(MarkRule::AllButFirst);
        QGuiApplication::clipboard()->setText("before");
        fakes.messages.shown = 0;
        c.command();
        fakes.clock.beforeReading = nullptr;
        EXPECT_EQ(status(), c.status);
        EXPECT_EQ(fakes.messages.shown, 1);
        EXPECT_TRUE(!module().isBusy && ui().cmdStop->isHidden());
        EXPECT_EQ(window->saveEnabled() && window->viewEnabled(), c.savable);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
        EXPECT_EQ(readFile(source), many);
        scan(writeFile("after.txt", "z\nz\n"));
        EXPECT_TRUE(status().startsWith("Scanned 2 Lines")) << "usable";
        const QStringList ours {"after.txt", "dups.txt", "other.txt"};
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
            EXPECT_TRUE(ours.contains(name)) << "left behind: " << name.toStdString();
    }
    qunsetenv("TWINSCAN_THREADS");
}

// Reading the file and filling the source list share one scale that never goes back. Texts are
// seen while the file is read, once the last file's text is gone, and the last one says 100%.
// The end of a job asks for the user's attention only when the job was long and the user has
// turned to another window meanwhile.
TEST_F(ScanWindow, ALongJobEndingBehindAnotherWindowAsksForAttention)
{
    const QString file = writeFile("dups.txt", "a\nb\na\n");
    const struct
    {
        bool active;
        int alertAfterMs;
        int alerts;
    } cases[] = {{false, 0, 1}, {false, 1 << 30, 0}, {true, 0, 0}}; // the window stays active
    for (const auto &[active, alertAfterMs, alerts] : cases) {
        SCOPED_TRACE(testing::Message() << active << ' ' << alertAfterMs);
        fakes.shell.alerts = 0;
        window->setAlertAfter(alertAfterMs);
        if (active) {
            window->show();
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        }
        scan(file);
        EXPECT_EQ(fakes.shell.alerts, alerts);
    }
}

TEST_F(ScanWindow, LoadingShowsOneProgressThatEndsAt100)
{
    scan(writeFile("old.txt", "o\no\n"));
    const std::weak_ptr<const LoadedText> oldText = window->session()->text();
    window->show(); // a shown status bar repaints at every new text
    QList<int> percents, bar;
    bool whileReading = false;
    QObject::connect(ui().picStatusbar, &PictureBox::paintRequested, [&] {
        if (!status().startsWith("Loading file... "))
            return;
        percents << status().mid(16).chopped(1).toInt();
        bar << window->progress().Value() * 100 / window->progress().Max();
        whileReading |= !window->session() && oldText.expired();
    });
    module().batchMode = true; // no large-file message
    module().request.inputFile = writeFile("many.txt", std::string(200000, '\n'));
    window->scan();
    EXPECT_TRUE(whileReading);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << percents.size();
    EXPECT_EQ(bar, percents);
    EXPECT_EQ(percents.last(), 100);
}

// A stop answered No changes nothing. One while the file is read must not leave the previous
// file's lines on screen under the new name; one while grouping lists what was grouped so far.
// Either leaves nothing to save.
TEST_F(ScanWindow, AStopEndsTheScanWhereItWas)
{
    const QString file = writeFile("pairs.txt", pairs(15000));
    const struct
    {
        const char *during;
        MessageAnswer answer;
        bool readStopped;
    } cases[] = {{"Processing File... 6", MessageAnswer::No, false},
        {"Loading file... ", MessageAnswer::Yes, true},
        {"Processing File... 6", MessageAnswer::Yes, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.during);
        scan(file);
        const QString plainStatus = status();
        duringRun(
            [&] { return status().startsWith(c.during); }, [this] { window->cmdStop_Click(); });
        fakes.messages.shown = 0;
        fakes.messages.answers = {c.answer};
        scan(file);

        ASSERT_EQ(fakes.messages.shown, 1);
        const bool stopped = c.answer == MessageAnswer::Yes;
        const int found = window->List2Box().rowCount();
        EXPECT_EQ(found == 0, c.readStopped);
        EXPECT_EQ(found < 30000, stopped);
        EXPECT_EQ(status(),
            stopped ? (found ? QString::number(found) : "No")
                    + " Duplicate Lines Found (Interuppted By User) (Processing time: 0:00)"
                    : plainStatus);
        expectIdle(!stopped);
    }
}

TEST_F(ScanWindow, ANewScanShowsTheDuplicatesFromTheTop)
{
    window->resize(400, 300);
    window->show();
    window->setPumpInterval(1 << 30); // the view sees the list only once it is filled again
    const QString file = writeFile("pairs.txt", pairs(500));
    scan(file);
    QApplication::processEvents();
    QScrollBar *bar = ui().List2->verticalScrollBar();
    bar->setValue(bar->maximum());
    ASSERT_GT(bar->value(), 0);
    scan(file);
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), 0);
}

// From exactly 32768 lines the lists are emulated. Unless the user chose to list such a file, the
// lists show a placeholder, Copy Current is off, and the window says so first (an unattended run
// asks nothing); a listed one is listed in full, with nothing to say about it.
TEST_F(ScanWindow, ALargeFileIsListedOnlyWhenChosen)
{
    const struct
    {
        const char *what;
        bool batch;
        qint16 listed;
        int questions, rows;
    } cases[] = {{"window", false, 0, 1, 1}, {"unattended", true, 0, 0, 1},
        {"window, listed", false, 1, 0, 32768}};
    const QString file = writeFile("big.txt", pairs(16384));
    const DuplicatesMenu &menu = window->interactions().menu();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        module().batchMode = c.batch;
        module().request.inputFile = file;
        module().showLargeFileLists = c.listed;
        fakes.messages.shown = 0;
        c.batch ? void(window->scan()) : scan(file);
        EXPECT_TRUE(window->session()->largeFileMode());
        EXPECT_EQ(fakes.messages.shown, c.questions);
        EXPECT_EQ(window->lstShowBox().rowCount(), c.rows);
        EXPECT_EQ(window->List2Box().rowCount(), c.rows);
        window->interactions().List2_MouseUp(Qt::RightButton, {});
        EXPECT_EQ(menu.mnuCopyCurrent->isEnabled(), c.listed == 1);
        menu.mnuPopup->hide();
    }
}

// A file past memory is scanned with temporary files, in the window as in a job: its lines are
// not listed, viewed or copied, the rules mark them, Undo takes a rule back, and the save leaves
// them out. The window's key holds there as in memory.
TEST_F(ScanWindow, AFilePastMemoryIsMarkedByRulesAndSaved)
{
    qputenv("TWINSCAN_MEMORY", "1b");
    qputenv("TWINSCAN_TMPDIR", QFile::encodeName(dir.path()));
    KeySpec secondField;
    secondField.kind = KeySpec::Kind::Fields;
    secondField.fields = {2};
    const struct
    {
        const char *what;
        bool batch;
        KeySpec key;
        std::string input;
        std::string output;
        const char *marked; // the status after the rule, in the window
    } cases[] = {
        {"job", true, {}, "a\na\nb\n", "a\nb\n", ""},
        {"job by a key", true, secondField, "a 1\nb 1\nc 2\n", "a 1\nc 2\n", ""},
        {"window", false, {}, "a\nb\na\nb\na\n", "b\na\n", "3 lines marked for removal"},
    };
    const DuplicatesMenu &menu = window->interactions().menu();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        module().batchMode = c.batch;
        module().keySpec = c.key;
        const QString file = writeFile("in.txt", c.input);
        if (c.batch) {
            module().request.inputFile = file;
            module().request.outputFile = path("out.txt");
            module().request.markRule = QStringLiteral("2");
            EXPECT_EQ(window->scan(), ScanEnding::FoundDuplicates);
            window->markBy(MarkRule::AllButFirst);
        } else {
            scan(file);
            EXPECT_TRUE(status().contains(QStringLiteral("it cannot be viewed or copied")))
                << status().toStdString();
            EXPECT_EQ(window->lstShowBox().data(window->lstShowBox().index(0), Qt::DisplayRole),
                QStringLiteral("Not listed: the file does not fit in memory"));
            EXPECT_TRUE(window->List2Box()
                            .data(window->List2Box().index(0), Qt::DisplayRole)
                            .toString()
                            .startsWith(QStringLiteral("Right-click: mark by a rule")));
            menu.mnuSelAllButLast->trigger();
            EXPECT_EQ(status(), QString::fromUtf8(c.marked));
            menu.mnuUnsel->trigger();
            menu.mnuUnsel->trigger(); // changes nothing, and is no step to undo
            ui().actUndo->trigger();
            EXPECT_EQ(status(), QString::fromUtf8(c.marked));
            ui().actUndo->trigger();
            ui().actRedo->trigger();
            EXPECT_EQ(status(), QString::fromUtf8(c.marked));
            menu.mnuCopyAll->trigger();
            EXPECT_EQ(status(),
                QStringLiteral("The file does not fit in memory: its lines cannot be copied."));
            menu.mnuSaveReport->trigger();
            EXPECT_EQ(status(),
                QStringLiteral("The file does not fit in memory: its groups cannot be listed or "
                               "saved apart."));
            fakes.dialogs.saveAnswers.push_back(path("out.txt"));
        }
        EXPECT_FALSE(ui().actView->isEnabled());
        EXPECT_EQ(window->save(), SaveEnding::Done);
        EXPECT_FALSE(ui().actView->isEnabled());
        EXPECT_EQ(readFile(path("out.txt")), c.output);
    }
    qunsetenv("TWINSCAN_MEMORY");
    qunsetenv("TWINSCAN_TMPDIR");
}

} // namespace
} // namespace twinscan::test

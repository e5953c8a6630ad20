#include "../editing/SystemCallHook.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace twinscan::test {
using namespace Qt::StringLiterals;
namespace {

class SaveWindow : public WindowFixture
{
protected:
    // Scans `text` from list.csv and marks every occurrence but the first.
    QString scanAndMark(const std::string &text)
    {
        const QString source = writeFile("list.csv", text);
        scan(source);
        window->markBy(MarkRule::AllButFirst);
        return source;
    }
    void save(const QString &target)
    {
        fakes.dialogs.saveAnswers.push_back(target);
        window->cmdSave_Click();
    }
};

// The progress bar ends full although no progress was drawn, and the next dialog starts at the
// file written, never at a target that failed; a failed write says why, and so does a save that
// could not keep the extended attributes of the file it replaced.
TEST_F(SaveWindow, WritesTheFileWithoutTheMarkedLines)
{
    const std::pair<const char *, QString> cases[] = {
        {"out.txt", u"Done! (Processing time: 0:00)"_s},
        {"no/such/folder/out.txt", path("no/such/folder/out.txt")},
        {"tagged.txt",
            u"Done! (Processing time: 0:00) Saved without some extended attributes of the file "
            "replaced: user.origin (%1)"_s.arg(QString::fromUtf8(std::strerror(EOPNOTSUPP)))},
    };
    const QByteArray tagged = QFile::encodeName(writeFile("tagged.txt", "earlier"));
    ASSERT_EQ(::setxattr(tagged.constData(), "user.origin", "web", 3, 0), 0);
    const SystemCallHook refusingAttributes([](Call call, int) {
        return call == Call::SetAttribute ? Fault {Fault::Error, EOPNOTSUPP} : Fault {};
    });
    for (const auto &[target, message] : cases) {
        SCOPED_TRACE(target);
        scanAndMark("a\r\nb\r\na\r\nc\r\nb\r\na");
        window->setPumpInterval(1 << 30);
        save(path(target));
        const bool written = readFile(path(target)) == "a\r\nb\r\nc\r\n";
        EXPECT_EQ(written, target != cases[1].first);
        EXPECT_TRUE(written ? status() == message : status().contains(message))
            << status().toStdString();
        EXPECT_TRUE(!module().isBusy && ui().cmdSave->isEnabled());
        EXPECT_TRUE(!written || window->progress().Value() == window->progress().Max());
        EXPECT_EQ(module().lastSavedFile, written ? path(target) : QString());
        module().lastSavedFile.clear();
    }
}

// Once the scanned file itself is replaced, the window scans it again and says both outcomes;
// another target leaves the window as it was.
TEST_F(SaveWindow, AfterReplacingTheScannedFileItIsScannedAgain)
{
    enum Target { Other, Source, SecondName }; // another file, the source, a hard link of it
    const struct
    {
        Target target;
        bool oneMarkKept;
        int lines;
        bool saveEnabled;
        QString status;
        int deleted;
    } cases[] = {
        {Other, false, 3, true, "Done! (Processing time: 0:00)", 2},
        {Source, true, 2, true,
            "Done! (Processing time: 0:00) · Scanned 2 Lines: Found 2 Duplicate Lines with 1 "
            "Unique Duplicates! (Processing time: 0:00)",
            1},
        {Source, false, 1, false,
            "Done! (Processing time: 0:00) · No Duplicate Lines Found... (Processing time: 0:00)",
            2},
        {SecondName, false, 1, false,
            "Done! (Processing time: 0:00) · No Duplicate Lines Found... (Processing time: 0:00)",
            2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.status.toStdString());
        const QString link = path(u"link.csv"_s);
        QFile::remove(link);
        if (c.target == SecondName) { // made before the scan: a new name changes the file
            ASSERT_EQ(::link(QFile::encodeName(writeFile(u"list.csv"_s, {})).constData(),
                          QFile::encodeName(link).constData()),
                0);
        }
        const QString source = scanAndMark("v\nv\nv\n");
        if (c.oneMarkKept)
            window->List2Box().setData(
                window->List2Box().index(2), Qt::Unchecked, Qt::CheckStateRole);
        save(c.target == Other ? path("out.txt") : c.target == Source ? source : link);
        EXPECT_EQ(window->lstShowBox().rowCount(), c.lines);
        EXPECT_EQ(ui().cmdSave->isEnabled(), c.saveEnabled);
        EXPECT_EQ(status(), c.status);
        // The scan after the save is no new file opened: the statistics count the first alone.
        const UsageStatistics &counted = module().statistics;
        EXPECT_EQ(std::tuple(counted.statFilesOpened, counted.statLinesScanned,
                      counted.statDupsFound, counted.statUniqueDupsFound, counted.statDupsDeleted),
            std::tuple(1, 3, 3, 1, c.deleted));
        module().statistics = {};
    }
}

// Each Save command of the duplicates list asks for a new file beside the scanned one, writes it
// as the save writes and says where; a key the scan compared by is the report's last column,
// whatever the settings say since. A target that is the scanned file is refused, and a failed or
// stopped one leaves no file: the window is idle again with Save as it was.
TEST_F(SaveWindow, SavesAReportOrSomeOfTheLines)
{
    const std::string source = "a;1\r\nb;1\r\na;1\r\nc\r\nb;1\r\na;1";
    const QString tsv = u"Tab-Separated Values (*.tsv)|*.tsv|All Files (*.*)|*.*"_s;
    const QString all = u"All Files (*.*)|*.*"_s;
    const struct
    {
        QAction *DuplicatesMenu::*command;
        const char *target;
        QString suggested, filter;
        std::optional<std::string> written; // none: no file
        QString status; // how it starts; @ for the target
        bool keyed = false, stop = false, unmarked = false;
    } cases[] = {
        {&DuplicatesMenu::mnuSaveReport, "r.tsv", "list-report.tsv", tsv,
            "count\tfirst line\tlines\ttext\n3\t1\t1,3,6\ta;1\n2\t2\t2,5\tb;1\n",
            "Done! Report saved to @ (Processing time: 0:00)"},
        {&DuplicatesMenu::mnuSaveReport, "keyed.tsv", "list-report.tsv", tsv,
            "count\tfirst line\tlines\ttext\tkey\n5\t1\t1,2,3,5,6\ta;1\t1\n",
            "Done! Report saved to @", true},
        {&DuplicatesMenu::mnuSaveDuplicates, "d.csv", "list-duplicates.csv", all,
            "a;1\r\nb;1\r\na;1\r\nb;1\r\na;1\r\n", "Done! Duplicate lines saved to @"},
        {&DuplicatesMenu::mnuSaveRemoved, "r.csv", "list-removed.csv", all, "a;1\r\nb;1\r\na;1\r\n",
            "Done! Removed lines saved to @"},
        {&DuplicatesMenu::mnuSaveReport, "no/such/r.tsv", "list-report.tsv", tsv, std::nullopt,
            "Can't write @"},
        {&DuplicatesMenu::mnuSaveDuplicates, "list.csv", "list-duplicates.csv", all, source,
            "@ is the scanned file"},
        {&DuplicatesMenu::mnuSaveRemoved, "s.csv", "list-removed.csv", all, std::nullopt,
            "Stopped: nothing was written.", false, true},
        {&DuplicatesMenu::mnuSaveRemoved, "none.csv", {}, {}, std::nullopt,
            "No lines are marked: nothing would be removed.", false, false, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.target);
        if (c.keyed) {
            module().keySpec.kind = KeySpec::Kind::Fields;
            module().keySpec.fields = {2};
            module().keySpec.separator = ";";
        }
        scanAndMark(source);
        module().keySpec = {};
        fakes.dialogs.lastSaveRequest = {};
        if (c.unmarked)
            window->markBy(MarkRule::None);
        if (c.stop) {
            duringRun([this] { return status().startsWith(u"Saving"_s); },
                [this] { window->cmdStop_Click(); });
        }
        fakes.messages.answers = {MessageAnswer::Yes};
        fakes.dialogs.saveAnswers = {path(c.target)};
        // No progress drawn but the last: the bar still ends full.
        window->setPumpInterval(c.stop ? 0 : 1 << 30);
        const DuplicatesMenu &menu = window->interactions().menu();
        window->interactions().List2_MouseUp(Qt::RightButton, {});
        EXPECT_TRUE(menu.mnuPopup->isVisible() && (menu.*c.command)->isEnabled());
        menu.mnuPopup->hide();
        (menu.*c.command)->trigger();
        EXPECT_EQ(fakes.dialogs.lastSaveRequest.initialFile,
            c.suggested.isEmpty() ? QString() : path(c.suggested));
        EXPECT_EQ(fakes.dialogs.lastSaveRequest.filter, c.filter);
        EXPECT_EQ(QFile::exists(path(c.target)), c.written.has_value());
        EXPECT_EQ(c.written ? readFile(path(c.target)) : std::string(), c.written.value_or(""));
        EXPECT_TRUE(status().startsWith(QString(c.status).replace(u"@"_s, path(c.target))))
            << status().toStdString();
        EXPECT_TRUE(!module().isBusy && ui().cmdSave->isEnabled() && !ui().cmdScan->isHidden());
        EXPECT_TRUE(!status().startsWith(u"Done!"_s)
            || window->progress().Value() == window->progress().Max());
        EXPECT_EQ(QDir(dir.path()).entryList({u"*.twintemp"_s}, QDir::Files | QDir::Hidden),
            QStringList());
    }
}

TEST_F(SaveWindow, OffersTheSourcesExtensionForATargetWithoutOne)
{
    const std::pair<MessageAnswer, QString> cases[]
        = {{MessageAnswer::Cancel, ""}, {MessageAnswer::Yes, "out.csv"}};
    for (const auto &[answer, written] : cases) {
        SCOPED_TRACE(int(answer));
        scanAndMark("x\nx\n");
        fakes.messages.shown = 0;
        fakes.messages.answers = {answer};
        window->setStatusText("No file selected...");
        save(path("out"));
        ASSERT_EQ(fakes.messages.shown, 1);
        if (written.isEmpty()) {
            EXPECT_FALSE(QFile::exists(path("out")) || QFile::exists(path("out.csv")));
            EXPECT_EQ(status(), "") << "an earlier save's message stays";
        } else {
            EXPECT_EQ(readFile(path(written)), "x\n");
        }
    }
}

// Only a new scan can make these results savable again, whether the file changed before the
// target was chosen or while the extension question was open.
TEST_F(SaveWindow, RefusesAFileThatChangedSinceTheScan)
{
    for (const bool duringQuestion : {false, true}) {
        SCOPED_TRACE(duringQuestion);
        scanAndMark("m\nm\n");
        fakes.messages.whileShown = [&] { writeFile("list.csv", "other\nm\nm\n"); };
        if (!duringQuestion)
            fakes.messages.whileShown();
        save(path(duringQuestion ? "out" : "out.txt"));
        EXPECT_TRUE(status().startsWith("The file has changed since it was scanned."));
        EXPECT_FALSE(QFile::exists(path("out.txt")) || QFile::exists(path("out")));
        // Refused before the dialog, or once its answer was taken.
        EXPECT_EQ(fakes.dialogs.saveAnswers.size(), duringQuestion ? 0u : 1u);
        fakes.dialogs.saveAnswers.clear();
        EXPECT_FALSE(module().isBusy);
        EXPECT_FALSE(ui().cmdSave->isEnabled());
        fakes.messages.whileShown = nullptr;
    }
}

TEST_F(SaveWindow, StopDuringTheSave)
{
    // Stopped first, so that no output of the other round is there.
    for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        SCOPED_TRACE(int(answer));
        scanAndMark("s\ns\nt\n");
        duringRun([this] { return status().startsWith("Saving File"); },
            [this] { window->cmdStop_Click(); });
        fakes.messages.answers = {answer};
        fakes.dialogs.saveAnswers.push_back(path("out.txt"));
        const SaveEnding ending = window->save();
        const bool stopped = answer == MessageAnswer::Yes;
        EXPECT_EQ(ending, stopped ? SaveEnding::StoppedByUser : SaveEnding::Done);
        EXPECT_EQ(status() == "Stopped: nothing was written.", stopped);
        EXPECT_EQ(QFile::exists(path("out.txt")), !stopped);
        EXPECT_FALSE(module().isBusy);
    }
}

// A FIFO whose reader holds back does not hold up Stop: pressed while the save waits for room,
// in the middle of the copy or for its last bytes, the question comes at once, and a Yes ends the
// save long before the reader comes back.
TEST_F(SaveWindow, StopWhileAReaderHoldsBack)
{
    for (const int lines : {40000, 150000}) { // within one buffer of output, and beyond it
        SCOPED_TRACE(lines);
        std::string text;
        for (int n = 0; n < lines; ++n)
            text += "line " + std::to_string(n % (lines - 100)) + "\n";
        scanAndMark(text);
        const QString fifo = path("out.fifo");
        QFile::remove(fifo);
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        // Open from the start, so that the save need not wait for a reader; it reads only later.
        const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(reader, 0);
        std::thread late([reader] {
            std::this_thread::sleep_for(std::chrono::milliseconds(2500));
            char buffer[65536];
            while (::read(reader, buffer, sizeof buffer) > 0) { }
        });
        // Once bytes wait in the FIFO, the save waits for room.
        const auto waiting = [reader] {
            int queued = 0;
            return ::ioctl(reader, FIONREAD, &queued) == 0 && queued > 0;
        };
        QElapsedTimer clock;
        duringRun(waiting, [&] { clock.start(), window->cmdStop_Click(); });
        fakes.messages.answers = {MessageAnswer::Yes};
        fakes.messages.shown = 0;
        fakes.dialogs.saveAnswers.push_back(fifo);
        EXPECT_EQ(window->save(), SaveEnding::StoppedByUser);
        EXPECT_TRUE(clock.isValid() && clock.elapsed() < 1500);
        EXPECT_EQ(fakes.messages.shown, 1) << "the stop question";
        EXPECT_EQ(status(), "Done! (Interrupted by User)");
        late.join();
        ::close(reader);
    }
}

} // namespace
} // namespace twinscan::test

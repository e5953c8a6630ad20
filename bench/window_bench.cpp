// Runs the program's own commands on a large file in a real main window on the offscreen
// platform, with its pumping and repainting, and prints the time of each:
//
//   twinscan_window_bench scan FILE        the scan as the Open button runs it
//   twinscan_window_bench save FILE OUT    scan, mark all but the first, then the timed save
//   twinscan_window_bench report FILE OUT  scan, then the timed Save Report of the duplicates
//                                          list's context menu, to OUT
//   twinscan_window_bench mark FILE        scan, then each marking rule from the context menu;
//                                          measured is the slowest rule
//   twinscan_window_bench undo FILE        scan, then each marking rule followed by Undo and Redo
//                                          of it; measured is the slowest undo or redo
//   twinscan_window_bench copy FILE        scan, mark all but the first, then Copy to Clipboard
//                                          All (measured) and Selected, with the size of the
//                                          text and the memory before, at the peak and after
//   twinscan_window_bench click FILE       scan, then clicks on entries spread over the list,
//                                          each until the source list has moved and repainted;
//                                          measured is the median click
//   twinscan_window_bench view FILE        scan, then from the press of View to the viewer's first
//                                          painted rows; also the memory the open viewer added
//   twinscan_window_bench viewclose FILE   scan, view, check every red row, then the timed close
//                                          that carries the checks back as marks
//   twinscan_window_bench rescan FILE      scan, then the timed second scan of the same file, with
//                                          the peak memory of each
//   twinscan_window_bench stop FILE        scan, then scans with Stop pressed at moments spread
//                                          over a scan, the stop confirmed at once; measured is
//                                          the slowest from the press to the end of the scan
//   twinscan_window_bench lists FILE       the scan (measured) with a large file's lists shown,
//                                          then how soon their first rows are painted, each step
//                                          of scrolling both lists to their last row and back,
//                                          and a marking rule with its repaint
//
// The last line is "measured=SECONDS" for bench/run.sh.

#include "app/ListInteractions.h"
#include "app/Module.h"
#include "app/SettingsStore.h"
#include "app/frmMain.h"
#include "engine/Clock.h"
#include "ui/FileDialogService.h"
#include "ui/MessageBoxService.h"
#include "ui/UniformRowView.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <thread>
#include <vector>

using namespace twinscan;

namespace {

using SteadyClock = std::chrono::steady_clock;

// Nothing here may wait for a person: every box is answered at once, a question with `answer`.
class NoMessages final : public MessageBoxService
{
public:
    MessageAnswer answer = MessageAnswer::No;
    SteadyClock::time_point asked;

    MessageAnswer show(
        QWidget *, const QString &, const QString &, MessageButtons buttons, MessageIcon) override
    {
        asked = SteadyClock::now();
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : answer;
    }
};

class NoDialogs final : public FileDialogService
{
public:
    QString openFile(const FileDialogRequest &) override { return {}; }
    QString saveFile(const FileDialogRequest &) override { return saveAnswer; }

    QString saveAnswer;
};

// Settings as a fresh installation has them, and nothing written anywhere.
class NoSettings final : public SettingsStore
{
public:
    QString value(const QString &, const QString &defaultValue) const override
    {
        return defaultValue;
    }
    void setValue(const QString &, const QString &) override { }
    void updateValue(const QString &, Update) override { }
};

void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Elapsed seconds; the processor seconds go to standard error, for a machine too busy for
// elapsed times to mean much.
template<typename Work> double timed(Work work)
{
    const double cpu = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "%.3f s elapsed, %.3f s processor\n", seconds, cpuSeconds() - cpu);
    return seconds;
}

// A memory figure of this process in MB: "VmRSS:" resident now, "VmHWM:" the highest resident
// since the last resetPeakMemory().
double memoryMb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

double peakMemoryMb()
{
    return memoryMb("VmHWM:");
}

void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double markRules(frmMain &window)
{
    const DuplicatesMenu &menu = window.interactions().menu();
    double slowest = 0;
    for (QAction *rule : {menu.mnuSelAll, menu.mnuUnsel, menu.mnuInvert, menu.mnuSelAllButFirst,
             menu.mnuSelAllButLast}) {
        const double seconds = timed([&] { rule->trigger(); });
        std::printf("%s %.3f\n", qPrintable(rule->objectName()), seconds);
        slowest = std::max(slowest, seconds);
    }
    return slowest;
}

double undoRules(frmMain &window)
{
    const DuplicatesMenu &menu = window.interactions().menu();
    double slowest = 0;
    for (QAction *rule : {menu.mnuSelAll, menu.mnuUnsel, menu.mnuInvert, menu.mnuSelAllButFirst,
             menu.mnuSelAllButLast}) {
        const double step = timed([&] { rule->trigger(); });
        const double undo = timed([&] { window.ui().actUndo->trigger(); });
        const double redo = timed([&] { window.ui().actRedo->trigger(); });
        std::printf("%s %.3f, undo %.3f, redo %.3f, %d marked\n", qPrintable(rule->objectName()),
            step, undo, redo, window.session()->markedCount());
        slowest = std::max({slowest, undo, redo});
    }
    return slowest;
}

double copyLines(frmMain &window)
{
    window.markBy(MarkRule::AllButFirst);
    const DuplicatesMenu &menu = window.interactions().menu();
    const double before = memoryMb("VmRSS:");
    resetPeakMemory();
    const double all = timed([&] { menu.mnuCopyAll->trigger(); });
    const double peakAll = peakMemoryMb();
    const double after = memoryMb("VmRSS:");
    const double textMb
        = double(
              QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/plain")).size())
        / (1024 * 1024);
    const double selected = timed([&] { menu.mnuCopySelected->trigger(); });
    std::printf("copy all %.3f s: %.0f MB of text, %.0f MB resident before, %.0f MB at the peak, "
                "%.0f MB after; then copy selected %.3f s\n",
        all, textMb, before, peakAll, after, selected);
    return all;
}

// A click makes the entry current, as a press of the mouse does, and lasts until the window has
// repainted.
double clickEntries(frmMain &window)
{
    QAbstractItemView &list = *window.ui().List2;
    const int entries = window.List2Box().rowCount();
    std::vector<double> clicks;
    for (int i = 0; i < 21; ++i) {
        const int entry = (i % 2 ? entries - 1 - i : i) * 7919 % std::max(entries, 1);
        clicks.push_back(timed([&] {
            list.setCurrentIndex(window.List2Box().index(entry));
            QApplication::processEvents();
        }));
    }
    std::sort(clicks.begin(), clicks.end());
    std::printf("%d entries: click median %.2f ms, slowest %.2f ms\n", entries,
        clicks[clicks.size() / 2] * 1000, clicks.back() * 1000);
    return clicks[clicks.size() / 2];
}

double secondsBetween(SteadyClock::time_point from, SteadyClock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// Watches for the first paint of the viewer's filled list, draws it at once so that the time
// includes the rows, then checks every red row if asked and closes the viewer.
class ViewerWatch final : public QObject
{
public:
    bool checkAll = false;
    const QWidget *mainWindow = nullptr; // whose lists may repaint too
    SteadyClock::time_point painted, closing;
    double paintedMb = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *viewport = qobject_cast<QWidget *>(watched);
        auto *list
            = viewport ? qobject_cast<QAbstractItemView *>(viewport->parentWidget()) : nullptr;
        if (event->type() != QEvent::Paint || paintedMb != 0 || !list || !list->model()
            || viewport != list->viewport() || list->window() == mainWindow)
            return false;
        watched->event(event);
        painted = SteadyClock::now();
        paintedMb = memoryMb("VmRSS:");
        QTimer::singleShot(0, list, [this, list] { close(*list); });
        return true;
    }

private:
    void close(QAbstractItemView &list)
    {
        QAbstractItemModel &rows = *list.model();
        for (int row = 0; checkAll && row < rows.rowCount(); ++row)
            rows.setData(rows.index(row, 0), Qt::Checked, Qt::CheckStateRole);
        closing = SteadyClock::now();
        list.window()->close();
    }
};

// Presses View and reports what the viewer cost; returns the measured seconds.
double view(frmMain &window, bool checkAll)
{
    ViewerWatch watch;
    watch.checkAll = checkAll;
    watch.mainWindow = &window;
    qApp->installEventFilter(&watch);
    const double beforeMb = memoryMb("VmRSS:");
    const SteadyClock::time_point pressed = SteadyClock::now();
    window.ui().cmdView->click();
    const SteadyClock::time_point closed = SteadyClock::now();
    qApp->removeEventFilter(&watch);
    const LineList &duplicates = *window.session()->lists().List2;
    int marked = 0;
    for (int entry = 0; entry < duplicates.ListCount(); ++entry)
        marked += duplicates.Selected(entry) ? 1 : 0;
    std::printf("viewer open: %.3f s, %.1f MB more resident; close: %.3f s, %d entries marked\n",
        secondsBetween(pressed, watch.painted), watch.paintedMb - beforeMb,
        secondsBetween(watch.closing, closed), marked);
    return checkAll ? secondsBetween(watch.closing, closed)
                    : secondsBetween(pressed, watch.painted);
}

// Scans again and again with Stop pressed, from another thread as a person's click would come,
// at moments spread over a whole scan; the stop is confirmed at once. Prints, per press, the
// time to the question and from the answer to the end of the scan, and the status text.
double stopScans(frmMain &window, NoMessages &messages, double scanSeconds)
{
    constexpr int presses = 24;
    messages.answer = MessageAnswer::Yes;
    double slowest = 0;
    for (int i = 0; i < presses; ++i) {
        module().batchMode = true;
        const auto delay = std::chrono::duration<double>(scanSeconds * (i + 0.5) / presses);
        const SteadyClock::time_point start = SteadyClock::now();
        SteadyClock::time_point pressed;
        std::thread presser([&] {
            std::this_thread::sleep_until(start + delay);
            pressed = SteadyClock::now();
            QToolButton *stop = window.ui().cmdStop;
            QMetaObject::invokeMethod(
                stop, [stop] { stop->click(); }, Qt::QueuedConnection);
        });
        window.scan();
        const SteadyClock::time_point ended = SteadyClock::now();
        presser.join();
        const bool asked = messages.asked >= pressed;
        const double total = secondsBetween(pressed, ended);
        std::printf("press at %.2f s: question after %.3f s, end %.3f s later; %s\n",
            secondsBetween(start, pressed), asked ? secondsBetween(pressed, messages.asked) : -1,
            asked ? secondsBetween(messages.asked, ended) : -1, qPrintable(window.statusText()));
        slowest = std::max(slowest, total);
    }
    return slowest;
}

// Draws what is in sight of both lists now, and returns the seconds it took with `step` before.
double paintedAfter(frmMain &window, const std::function<void()> &step)
{
    return timed([&] {
        step();
        QApplication::processEvents();
        for (QAbstractItemView *list : {window.ui().lstShow, window.ui().List2})
            list->viewport()->repaint();
    });
}

double listedScan(frmMain &window)
{
    module().showLargeFileLists = 1;
    const double scan = timed([&] { window.scan(); });
    std::printf("%s\n", qPrintable(window.statusText()));
    const double painted = paintedAfter(window, [] {});
    double slowestStep = 0;
    for (QAbstractItemView *list : {window.ui().lstShow, window.ui().List2}) {
        for (const bool toEnd : {true, false}) {
            slowestStep = std::max(slowestStep, paintedAfter(window, [&] {
                toEnd ? list->scrollToBottom() : list->scrollToTop();
            }));
        }
    }
    const DuplicatesMenu &menu = window.interactions().menu();
    const double rule = paintedAfter(window, [&] { menu.mnuSelAllButFirst->trigger(); });
    std::printf("%d rows listed: first rows painted %.3f s after the scan; slowest scroll step "
                "%.1f ms; rule with repaint %.3f s (%.3f of the scan); %.0f MB resident\n",
        window.lstShowBox().rowCount(), painted, slowestStep * 1000, rule, rule / scan,
        memoryMb("VmRSS:"));
    return scan;
}

} // namespace

int main(int argc, char **argv)
{
    const bool report = argc == 4 && std::strcmp(argv[1], "report") == 0;
    const bool save = (argc == 4 && std::strcmp(argv[1], "save") == 0) || report;
    const char *const modes[]
        = {"scan", "mark", "undo", "copy", "click", "view", "viewclose", "rescan", "stop", "lists"};
    if (!save
        && !(argc == 3 && std::any_of(std::begin(modes), std::end(modes), [&](const char *mode) {
               return std::strcmp(argv[1], mode) == 0;
           }))) {
        std::fprintf(stderr,
            "usage: %s scan|mark|undo|copy|click|view|viewclose|rescan|stop|lists FILE | "
            "save|report FILE OUT\n",
            argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet); // the offscreen platform's notes are not results
    QApplication app(argc, argv);
    NoMessages messages;
    NoDialogs dialogs;
    SystemClock clock;
    NoSettings settings;
    frmMain window(Services {&messages, &dialogs, &clock, &settings});
    window.show();
    QApplication::processEvents();

    // The unattended mode names the files without dialogs and asks no questions.
    Module &m = module();
    m.batchMode = true;
    m.request.inputFile = QString::fromLocal8Bit(argv[2]);
    if (save)
        m.request.outputFile = dialogs.saveAnswer = QString::fromLocal8Bit(argv[3]);
    if (std::strcmp(argv[1], "lists") == 0) {
        std::printf("measured=%.3f\n", listedScan(window));
        return 0;
    }
    double seconds = timed([&] { window.scan(); });
    std::printf("%s\n", qPrintable(window.statusText()));
    if (report) {
        seconds = timed([&] { window.saveOutput(OutputKind::Report); });
        std::printf("%s\n", qPrintable(window.statusText()));
    } else if (save) {
        window.markBy(MarkRule::AllButFirst);
        seconds = timed([&] { window.save(); });
        std::printf("%s\n", qPrintable(window.statusText()));
    } else if (std::strcmp(argv[1], "mark") == 0) {
        seconds = markRules(window);
    } else if (std::strcmp(argv[1], "undo") == 0) {
        seconds = undoRules(window);
    } else if (std::strcmp(argv[1], "copy") == 0) {
        seconds = copyLines(window);
    } else if (std::strcmp(argv[1], "click") == 0) {
        seconds = clickEntries(window);
    } else if (std::strcmp(argv[1], "rescan") == 0) {
        const double firstPeak = peakMemoryMb();
        resetPeakMemory();
        seconds = timed([&] { window.scan(); });
        std::printf("peak MB: first scan %.0f, rescan %.0f\n", firstPeak, peakMemoryMb());
    } else if (std::strcmp(argv[1], "stop") == 0) {
        seconds = stopScans(window, messages, seconds);
    } else if (std::strcmp(argv[1], "view") == 0 || std::strcmp(argv[1], "viewclose") == 0) {
        seconds = view(window, std::strcmp(argv[1], "viewclose") == 0);
    }
    std::printf("measured=%.3f\n", seconds);
    return 0;
}

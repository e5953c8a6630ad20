// Runs the program's own commands on a large file in a real main window on the offscreen
// platform, with its pumping and repainting, and prints the time of each:
//
//   twinscan_window_bench scan FILE        the scan as the Open button runs it
//   twinscan_window_bench save FILE OUT    scan, mark all but the first, then the timed save
//   twinscan_window_bench mark FILE        scan, then each marking rule from the context menu;
//                                          measured is the slowest rule
//   twinscan_window_bench copy FILE        scan, mark all but the first, then Copy to Clipboard
//                                          All (measured) and Selected, with the peak memory
//                                          while they run
//   twinscan_window_bench click FILE       scan, then clicks on entries spread over the list,
//                                          each until the source list has moved and repainted;
//                                          measured is the median click
//
// The last line is "measured=SECONDS" for bench/run.sh.

#include "app/ListInteractions.h"
#include "app/Module.h"
#include "app/SettingsStore.h"
#include "app/frmMain.h"
#include "engine/Clock.h"
#include "ui/FileDialogService.h"
#include "ui/MessageBoxService.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QListView>
#include <QMenu>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

using namespace twinscan;

namespace {

// Nothing here may wait for a person: every box is answered at once.
class NoMessages final : public MessageBoxService
{
public:
    MessageAnswer show(
        QWidget *, const QString &, const QString &, MessageButtons buttons, MessageIcon) override
    {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
};

class NoDialogs final : public FileDialogService
{
public:
    QString openFile(const FileDialogRequest &) override { return {}; }
    QString saveFile(const FileDialogRequest &) override { return {}; }
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

// The highest resident memory since the last resetPeakMemory(), in MB.
double peakMemoryMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
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

double copyLines(frmMain &window)
{
    window.mnuSelAllButFirst_Click();
    const DuplicatesMenu &menu = window.interactions().menu();
    const double before = peakMemoryMb();
    resetPeakMemory();
    const double all = timed([&] { menu.mnuCopyAll->trigger(); });
    const double peakAll = peakMemoryMb();
    const double selected = timed([&] { menu.mnuCopySelected->trigger(); });
    std::printf("copy all %.3f s, peak %.0f MB (%.0f MB before); then copy selected %.3f s, peak "
                "%.0f MB\n",
        all, peakAll, before, selected, peakMemoryMb());
    return all;
}

// A click makes the entry current, as a press of the mouse does, and lasts until the window has
// repainted.
double clickEntries(frmMain &window)
{
    QListView &list = *window.ui().List2;
    const int entries = window.List2Box().ListCount();
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

} // namespace

int main(int argc, char **argv)
{
    const bool save = argc == 4 && std::strcmp(argv[1], "save") == 0;
    const char *const modes[] = {"scan", "mark", "copy", "click"};
    if (!save
        && !(argc == 3 && std::any_of(std::begin(modes), std::end(modes), [&](const char *mode) {
               return std::strcmp(argv[1], mode) == 0;
           }))) {
        std::fprintf(stderr, "usage: %s scan|mark|copy|click FILE | save FILE OUT\n", argv[0]);
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
        m.request.outputFile = QString::fromLocal8Bit(argv[3]);
    double seconds = timed([&] { window.scan(); });
    std::printf("%s\n", qPrintable(window.statusText()));
    if (save) {
        window.mnuSelAllButFirst_Click();
        seconds = timed([&] { window.save(); });
        std::printf("%s\n", qPrintable(window.statusText()));
    } else if (std::strcmp(argv[1], "mark") == 0) {
        seconds = markRules(window);
    } else if (std::strcmp(argv[1], "copy") == 0) {
        seconds = copyLines(window);
    } else if (std::strcmp(argv[1], "click") == 0) {
        seconds = clickEntries(window);
    }
    std::printf("measured=%.3f\n", seconds);
    return 0;
}

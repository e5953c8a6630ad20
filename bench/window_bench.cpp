// Runs the program's own commands on a large file in a real main window on the offscreen
// platform, with its pumping and repainting, and prints the time of each:
//
//   twinscan_window_bench scan FILE        the scan as the Open button runs it
//   twinscan_window_bench save FILE OUT    scan, mark all but the first, then the timed save
//
// The last line is "measured=SECONDS" for bench/run.sh.

#include "app/Module.h"
#include "app/SettingsStore.h"
#include "app/frmMain.h"
#include "engine/Clock.h"
#include "ui/FileDialogService.h"
#include "ui/MessageBoxService.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstring>

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

void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

template<typename Work> double timed(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    const bool save = argc == 4 && std::strcmp(argv[1], "save") == 0;
    if (!save && !(argc == 3 && std::strcmp(argv[1], "scan") == 0)) {
        std::fprintf(stderr, "usage: %s scan FILE | save FILE OUT\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet); // the offscreen platform's notes are not results
    QApplication app(argc, argv);
    NoMessages messages;
    NoDialogs dialogs;
    SystemClock clock;
    MemorySettingsStore settings;
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
    }
    std::printf("measured=%.3f\n", seconds);
    return 0;
}

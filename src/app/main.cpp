#include "app/CommandLine.h"
#include "app/FilterMain.h"
#include "app/GnuCommandLine.h"
#include "app/Module.h"
#include "app/PipedStart.h"
#include "app/SettingsStore.h"
#include "app/SignalStop.h"
#include "app/Translations.h"
#include "app/frmMain.h"
#include "editing/InterruptSignals.h"
#include "editing/OpenDescriptor.h"
#include "editing/RecentlyUsed.h"
#include "engine/Clock.h"
#include "engine/FileName.h"
#include "ui/MessageBoxService.h"
#include "ui/ShellService.h"
#include "ui/cCommonDialog.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>

using namespace twinscan;

namespace {
// Started with a standard descriptor closed (as some service managers start programs), the first
// pipe or file opened would take its number and be read or written as that stream.
void fillClosedStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            (void)::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY); // takes the lowest free
            noteClosedAtStart(fd);
        }
    }
}

// The words keep their bytes, a name that is not UTF-8 too (FileName.h).
QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << fileNameFromBytes(argv[i]);
    return arguments;
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(shownFileName(text).toUtf8().constData(), stream);
}

// A job without a display talks to a script: only its own result lines belong on its output, not
// the toolkit's notes about the platform it runs on.
void keepToolkitQuiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        print(stderr, message + QLatin1Char('\n'));
}
} // namespace

int main(int argc, char **argv)
{
    fillClosedStandardDescriptors();
    const QStringList arguments = argumentsOf(argc, argv);
    const auto windowShows
        = [&] { return !decideDisplay(arguments, DisplayEnvironment::current()).refuseWithUsage; };
    if (isGnuCommandLine(arguments)
        || startsAsFilter(arguments, StandardStreams::current(), windowShows))
        return runFilterCommandLine(arguments);
    switch (classifyCommandLine(arguments)) {
    case CommandLineKind::Help:
        print(stdout, helpText());
        return 0;
    case CommandLineKind::Version:
        print(stdout, versionText());
        return 0;
    case CommandLineKind::Job:
        for (const QString &warning : ignoredOptionWarnings(arguments))
            print(stderr, warning);
        break;
    case CommandLineKind::NoJob:
        break;
    }
    if (const QString refusal = quoteRefusal(arguments); !refusal.isEmpty()) {
        print(stderr, refusal);
        return 2;
    }
    const DisplayDecision display = decideDisplay(arguments, DisplayEnvironment::current());
    if (display.refuseWithUsage) {
        print(stderr, refusalText(arguments));
        return 2;
    }
    if (display.runOffscreen) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(keepToolkitQuiet);
    }

    interrupts::install();
    QApplication app(argc, argv);
    const Translations translations(systemLanguageChoice(), ourTranslationsFolder,
        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // Desktops match the window to its entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(TWINSCAN_APP_ID));
    QtMessageBoxService messages;
    cCommonDialog dialogs;
    SystemClock clock;
    QSettingsStore settings;
    if (!settings.unusableFile().isEmpty()) {
        print(stderr,
            QStringLiteral("twinscan: %1 is not a regular file; the settings are neither read nor "
                           "saved\n")
                .arg(settings.unusableFile()));
    }
    QtShellService shell;
    XbelRecentlyUsed recentlyUsed;
    frmMain window(
        Services {&messages, &dialogs, &clock, &settings, &shell, &recentlyUsed}, arguments);
    const SignalStop signalStop(window.jobs(), window);
    window.show();
    const int status = app.exec();
    if (const QString problem = settings.save(); !problem.isEmpty())
        print(stderr, QStringLiteral("twinscan: settings not saved: %1\n").arg(problem));
    // A job that ended before a signal was seen reports what it did.
    if (module().batchJobEnded)
        return module().batchExitStatus;
    if (const int signal = interrupts::pendingSignal())
        return 128 + signal;
    return status != 0 ? status : module().batchExitStatus;
}

#include "app/FilterMain.h"

#include "app/CommandLine.h"
#include "app/FilterRun.h"
#include "app/GnuCommandLine.h"
#include "editing/InterruptSignals.h"
#include "engine/FileName.h"
#include "engine/FileStamp.h"

#include <cerrno>
#include <cstdio>

namespace twinscan {

namespace {
// As coreutils do: text that could not be written (a full disk, a closed pipe) is an error.
int printAll(std::FILE *stream, const QString &text, int status)
{
    std::fputs(shownFileName(text).toUtf8().constData(), stream);
    if (std::fflush(stream) == 0 && !std::ferror(stream))
        return status;
    const QString error = QStringLiteral("twinscan: write error: %1\n").arg(systemReason(errno));
    std::fputs(shownFileName(error).toUtf8().constData(), stderr);
    return 2;
}
} // namespace

int runFilterCommandLine(const QStringList &arguments)
{
    const GnuCommandLine line = parseGnuArguments(arguments);
    switch (line.action) {
    case GnuCommandLine::Help:
        return printAll(stdout, gnuHelpText(), 0);
    case GnuCommandLine::Version:
        return printAll(stdout, versionText(), 0);
    case GnuCommandLine::Error:
        return printAll(stderr,
            QStringLiteral("twinscan: %1\nTry 'twinscan --help' for more information.\n")
                .arg(line.error),
            2);
    case GnuCommandLine::Run:
        break;
    }
    interrupts::install();
    return runFilter(line.job);
}

} // namespace twinscan

#include "app/PipedStart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twinscan {

StandardStreams StandardStreams::current()
{
    StandardStreams streams;
    struct stat st
    {
    };
    streams.inputPiped = ::fstat(0, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISREG(st.st_mode));
    streams.outputTerminal = ::isatty(1) == 1;
    // Opening /dev/tty succeeds exactly when the process has a controlling terminal.
    const int tty = ::open("/dev/tty", O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    streams.controllingTerminal = tty >= 0;
    if (tty >= 0)
        ::close(tty);
    return streams;
}

bool startsAsFilter(const QStringList &arguments, const StandardStreams &streams,
    const std::function<bool()> &windowShows)
{
    if (!arguments.isEmpty() || !streams.inputPiped || streams.outputTerminal)
        return false;
    return streams.controllingTerminal || !windowShows();
}

} // namespace twinscan

#pragma once

#include <QStringList>
#include <functional>

namespace twinscan {

// How the standard streams were handed over, as far as the start needs to know.
struct StandardStreams
{
    bool inputPiped = false; // standard input is a pipe, a FIFO or a regular file
    bool outputTerminal = false; // standard output is a terminal
    bool controllingTerminal = false; // the process was started from a terminal's session

    static StandardStreams current();
};

// Whether a run without any argument is the filter with its defaults, as `cat x | twinscan | less`
// or `twinscan <x >y` mean it: something piped in, the output not shown on a terminal, and either
// a terminal's session behind it or no display to show a window on. A launch from a menu or a
// run dialog has no controlling terminal, and its standard input may still be a pipe (dmenu_run
// hands its shell's) and its output a log: with a display it opens the window, as it always did.
// `windowShows` is asked only when it decides.
bool startsAsFilter(const QStringList &arguments, const StandardStreams &streams,
    const std::function<bool()> &windowShows);

} // namespace twinscan

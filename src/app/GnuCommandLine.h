#pragma once

#include "app/JobDescription.h"

#include <QString>
#include <QStringList>

namespace twinscan {

// What a command line of GNU-style options asks for.
struct GnuCommandLine
{
    enum Action { Run, Help, Version, Error };
    Action action = Run;
    JobDescription job;
    QString error; // for Error: the message, without the program's name and line break
};

// Whether the arguments are options in the GNU style rather than switches of the window's job:
// a word beginning with "-" and none of "/i", "/o" and "/s".
bool isGnuCommandLine(const QStringList &arguments);

// Reads the arguments (without the program's name) as getopt_long does: "--opt=V" or "--opt V",
// a unique prefix of a long option, short options bundled ("-cd", "-oFILE"), options and the
// file in any order, "--" ending the options. At most one FILE; "-" is standard input.
GnuCommandLine parseGnuArguments(const QStringList &arguments);

// The --help text of both styles, ending in a line break.
QString gnuHelpText();

} // namespace twinscan

#pragma once

#include <QStringList>

namespace twinscan {

// The program for a command line of GNU-style options: help, version and usage errors answered
// on the terminal, any other a filter run. Answers the exit status; 2 also when the help or the
// version could not be written.
int runFilterCommandLine(const QStringList &arguments);

} // namespace twinscan

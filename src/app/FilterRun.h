#pragma once

#include "app/JobDescription.h"

namespace twinscan {

// Runs a job as a filter, without a window or a display and without the stored settings: reads
// the input (a file, or standard input to its end), finds its duplicates and writes the selected
// lines to the output under the save's rules. A status line and every error ("twinscan: FILE:
// reason") go to standard error, and so does the progress of a long job on a terminal. Answers the
// exit status: 0 written (also when nothing was removed), 1 duplicates found by a check, 2 failed,
// 128 + the signal that stopped it.
int runFilter(const JobDescription &job);

} // namespace twinscan

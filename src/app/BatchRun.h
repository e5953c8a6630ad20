#pragma once

namespace twinscan {

class frmMain;

// The unattended job of the command line: scan the input, mark by the rule, save the output and
// close the window. It prints the scan's and the save's result on standard output (failures, and
// everything when the output file is standard output, on standard error) and leaves the exit status
// in the module. A stop the user confirms ends the job and leaves the window open for interactive
// use.
void runBatch(frmMain &form);

} // namespace twinscan

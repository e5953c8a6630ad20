#pragma once

#include "app/JobEndings.h"
#include "app/JobHost.h"
#include "editing/RemovalWriter.h"

#include <QString>
#include <functional>

namespace twinscan {

class ScanSession;

// The steps every command that writes a file from the scanned one shares with the save.

// The scanned file must still be there and hold what was scanned, or the line numbers would name
// the wrong lines: otherwise says why, and Save stays off until the next scan.
bool sourceStillScanned(JobHost &host, const ScanSession &session);

// Readies the progress bar for `total` steps and lets events run; the listener shows
// `text(percent)` and the bar as a job goes.
ProgressFn saveProgress(JobHost &host, qint64 total, std::function<QString(int percent)> text);

// A save that was stopped or failed, told in the status text (and in a message box outside an
// unattended run).
SaveEnding reportUnsaved(JobHost &host, const SaveResult &result);

} // namespace twinscan

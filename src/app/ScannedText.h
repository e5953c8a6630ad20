#pragma once

#include "ui/ScannedTextCheck.h"

#include <QString>

namespace twinscan {

class JobHost;
class ScanSession;

// A command's failure: in the status text and, outside an unattended run, a message box.
void reportFailure(JobHost &host, const QString &text);

// Whether the session's lines are still the file's as scanned. When not, the refusal for `use`
// is reported; Save and View are disabled, as the save leaves Save when it finds the file
// changed.
bool scannedTextUsable(JobHost &host, ScanSession &session, ChangedTextUse use);

} // namespace twinscan

#include "app/ScannedText.h"

#include "app/JobHost.h"
#include "app/Module.h"
#include "app/ScanSession.h"

namespace twinscan {

void reportFailure(JobHost &host, const QString &text)
{
    host.setStatusText(text);
    if (!module().batchMode)
        host.ask(text, MessageButtons::Ok, MessageIcon::Stop);
}

bool scannedTextUsable(JobHost &host, ScanSession &session, ChangedTextUse use)
{
    if (session.textStillScanned())
        return true;
    session.setChangeTold();
    host.setSaveEnabled(false);
    host.setViewEnabled(false);
    reportFailure(host, changedSinceScanText(use));
    return false;
}

} // namespace twinscan

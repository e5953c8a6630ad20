#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

namespace twinscan {

class frmMain;

// SIGINT, SIGTERM and SIGHUP, once the handlers of InterruptSignals have noted them, stop the
// running scan or save as a confirmed Stop would, then close the window; the program then exits
// with 128 + the signal's number, as shells expect.
class SignalStop final : public QObject
{
public:
    explicit SignalStop(frmMain &form);

private:
    void onSignal();
    void closeWhenIdle();

    frmMain &form_;
    QSocketNotifier notifier_;
    QTimer retry_;
};

} // namespace twinscan

#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

namespace twinscan {

class JobControl;

// SIGINT, SIGTERM and SIGHUP, once the handlers of InterruptSignals have noted them, stop the
// running scan or save as a confirmed Stop would, then close the window; the program then exits
// with 128 + the signal's number, as shells expect.
class SignalStop final : public QObject
{
public:
    SignalStop(JobControl &jobs, QWidget &window);

private:
    void onSignal();
    void closeWhenIdle();

    JobControl &jobs_;
    QWidget &window_;
    QSocketNotifier notifier_;
    QTimer retry_;
};

} // namespace twinscan

#include "app/SignalStop.h"

#include "app/Module.h"
#include "app/frmMain.h"
#include "editing/InterruptSignals.h"

#include <QCoreApplication>
#include <unistd.h>

namespace twinscan {

SignalStop::SignalStop(frmMain &form)
    : form_(form), notifier_(interrupts::notifierFd(), QSocketNotifier::Read)
{
    connect(&notifier_, &QSocketNotifier::activated, this, &SignalStop::onSignal);
    connect(&retry_, &QTimer::timeout, this, &SignalStop::closeWhenIdle);
    retry_.setInterval(50);
}

void SignalStop::onSignal()
{
    char bytes[16];
    while (::read(interrupts::notifierFd(), bytes, sizeof bytes) > 0) { }
    form_.stopRequested = true; // a running job sees it at its next pump and stops unasked
    retry_.start();
    closeWhenIdle();
}

void SignalStop::closeWhenIdle()
{
    if (module().isBusy)
        return;
    retry_.stop();
    form_.close();
    // Also ends the loop of a modal window that may be open.
    QCoreApplication::exit(128 + interrupts::pendingSignal());
}

} // namespace twinscan

#include "app/SignalStop.h"

#include "app/JobControl.h"
#include "editing/InterruptSignals.h"

#include <QCoreApplication>
#include <unistd.h>

namespace twinscan {

SignalStop::SignalStop(JobControl &jobs, QWidget &window)
    : jobs_(jobs), window_(window), notifier_(interrupts::notifierFd(), QSocketNotifier::Read)
{
    connect(&notifier_, &QSocketNotifier::activated, this, &SignalStop::onSignal);
    connect(&retry_, &QTimer::timeout, this, &SignalStop::closeWhenIdle);
    retry_.setInterval(50);
}

void SignalStop::onSignal()
{
    char bytes[16];
    while (::read(interrupts::notifierFd(), bytes, sizeof bytes) > 0) { }
    jobs_.requestStop(); // a running job sees it at its next pump and stops unasked
    retry_.start();
    closeWhenIdle();
}

void SignalStop::closeWhenIdle()
{
    if (jobs_.isBusy())
        return;
    retry_.stop();
    window_.close();
    // Also ends the loop of a modal window that may be open.
    QCoreApplication::exit(128 + interrupts::pendingSignal());
}

} // namespace twinscan

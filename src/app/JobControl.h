#pragma once

#include <functional>
#include <utility>

namespace twinscan {

// The one long job (a scan or a save) that may run at a time: the module's isBusy flag, the stop
// that the user or a signal asked for, and the controls of a busy window. Nothing else writes
// any of them.
class JobControl
{
public:
    // `showBusy(true)` puts Stop in place of Open and disables the other commands; `false`
    // returns the window to idle.
    explicit JobControl(std::function<void(bool busy)> showBusy)
        : showBusy_(std::move(showBusy)) { }

    bool isBusy() const;
    // The Stop button or a signal: the running job stops at its next look.
    void requestStop() { stopRequested_ = true; }
    // Whether a stop was asked for since the last look; looking uses the request up.
    bool takeStopRequest() { return std::exchange(stopRequested_, false); }

private:
    friend class BusyScope;

    std::function<void(bool)> showBusy_;
    bool stopRequested_ = false;
};

// The busy state of one job: isBusy from the start of the job to the end of its ending, whatever
// way it ends, out of memory included; the busy controls from showBusy() on. A stop asked for
// before showBusy() is not one.
class BusyScope
{
public:
    explicit BusyScope(JobControl &jobs);
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

    void showBusy();

private:
    JobControl &jobs_;
};

} // namespace twinscan

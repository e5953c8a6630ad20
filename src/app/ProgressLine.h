#pragma once

#include "engine/Progress.h"

#include <QString>
#include <cstdio>
#include <functional>

namespace twinscan {

// A one-line progress display on a terminal: "twinscan: scanning... 42%", rewritten in place.
// Nothing shows for a job done within a second, and the line is wiped when the job ends, so
// that only a long job leaves a trace of it while it runs.
class ProgressLine
{
public:
    // Seconds from any fixed point, for the tests to move time.
    using Seconds = std::function<double()>;

    // `shown` false makes every listener silent.
    ProgressLine(bool shown, std::FILE *stream = stderr, Seconds now = {});
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    // A listener for one step of the job, named by `step` ("reading", "scanning", "writing").
    ProgressFn step(const QString &step);
    // Wipes the line, if one was written.
    void finish();

private:
    void show(const QString &step, qint64 done, qint64 total);

    bool shown_;
    std::FILE *stream_;
    Seconds now_;
    double start_;
    double lastShown_ = -1;
    bool written_ = false;
};

// Whether a job shows its progress: on a terminal unless it was asked to be quiet, anywhere
// when it was asked for.
bool progressShown(bool asked, bool quiet, int fd = 2);

} // namespace twinscan

#pragma once

#include <QtGlobal>
#include <functional>

namespace twinscan {

// The engine reports how far a long job has come; the listener repaints, lets events run and
// answers false when the user has asked to stop. It is called often, so it must be cheap.
using ProgressFn = std::function<bool(qint64 done, qint64 total)>;

inline bool keepGoing(const ProgressFn &progress, qint64 done, qint64 total)
{
    return !progress || progress(done, total);
}

} // namespace twinscan

#pragma once

#include <cstddef>
#include <functional>

namespace twinscan {

// How a scan spreads its work: over one thread per core the process may run on, unless
// TWINSCAN_THREADS names a count; in pieces of the file of pieceBytes each and blocks of
// blockLines lines. Tests make pieces and blocks tiny so that their edges fall inside lines and
// line breaks and between a group's lines. Results never depend on any of them.
struct Parallelism
{
    int threads = 1;
    std::size_t pieceBytes = std::size_t(1) << 20;
    std::size_t blockLines = std::size_t(1) << 14;

    static Parallelism fromEnvironment();
};

// Runs `work(lane, unit)` for every unit of every lane on up to `threads` threads, the calling
// thread among them. The units of one lane run in order, one after the other; lanes run side by
// side. Between units, and while it waits for the other threads, the caller asks `keepGoing`
// (which may let window events run); once that answers false, no further unit starts and the
// call returns false after every thread has finished its current unit. An exception thrown by
// a unit stops the others and is thrown again here.
bool runLanes(int threads, std::size_t lanes, std::size_t unitsPerLane,
    const std::function<void(std::size_t lane, std::size_t unit)> &work,
    const std::function<bool()> &keepGoing);

} // namespace twinscan

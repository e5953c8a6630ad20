#pragma once

namespace twinscan {

// How a scan ended. Its caller reads this, never the state of a button.
enum class ScanEnding {
    NotStarted, // no file chosen, or another job is running
    FoundDuplicates,
    NothingFound,
    StoppedByUser,
    Failed,
};

// How a save ended.
enum class SaveEnding {
    NotStarted, // no results, nothing marked, no target, extension prompt cancelled, source gone
    Done,
    StoppedByUser,
    Failed,
};

} // namespace twinscan

#pragma once

#include "engine/DuplicateScanner.h"
#include "engine/LoadedText.h"
#include "engine/Progress.h"
#include "engine/ScanOptions.h"

#include <memory>

namespace twinscan {

// What a filter's scan found: the duplicates list in the window's order (groups in the order of
// their first lines, each in file order) and each line's entry in it.
struct FilterScan
{
    std::unique_ptr<LineList> duplicates;
    ScanOutcome outcome;
};

// The one place where the filter meets the scanner: the whole text grouped in memory. Another
// way to find the groups (a file too large for memory) takes its place here.
FilterScan scanForFilter(
    const LoadedText &text, ScanRules rules, const KeySpec &key, const ProgressFn &progress);

} // namespace twinscan

#pragma once

#include "engine/LineList.h"
#include "engine/LoadedText.h"
#include "engine/Progress.h"
#include "engine/ScanOptions.h"

namespace twinscan {

struct ScanOutcome
{
    bool stopped = false;
    int groupCount = 0; // distinct duplicated texts
    int entryCount = 0; // every occurrence of every duplicated text
};

// Finds every line whose key occurs more than once and appends one entry per occurrence to the
// duplicates list: groups in the order of their first occurrences, each group's first occurrence
// first and then the others in file order, every entry carrying the first occurrence's text.
// Each line is normalised once and grouped through a hash table, so the work grows linearly.
class DuplicateScanner
{
public:
    DuplicateScanner(const LoadedText &text, ScanRules rules);

    // `progress` sees the lines grouped so far out of all lines; a stop during the listing leaves
    // the entries listed so far.
    ScanOutcome run(LineList &duplicates, const ProgressFn &progress = {});

private:
    const LoadedText &text_;
    ScanRules rules_;
};

} // namespace twinscan

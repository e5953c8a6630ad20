#pragma once

#include "editing/LineSelection.h"
#include "editing/SaveOptions.h"
#include "engine/KeySpec.h"
#include "engine/ScanOptions.h"

#include <QString>
#include <cstdint>

namespace twinscan {

// One job as a command line describes it: what is read, how lines compare, which lines are
// written with which prefixes, and where. Its defaults compare lines exactly as
// awk '!seen[$0]++' does and write the input without its duplicates.
struct JobDescription
{
    QString inputFile; // empty: standard input
    QString outputFile; // empty: standard output
    QString reportFile; // a report of the groups written beside the output; empty: none
    ScanRules scanRules {.caseSensitive = true, .trimLines = false, .includeEmptyLines = true};
    KeySpec key; // what of a line is compared; the whole line by default
    SaveRules saveRules {.trimLines = false, .keepEmptyLines = true, .lfWithoutBreaks = true};
    LineSelection selection = LineSelection::KeepFirst;
    bool counts = false; // each written line after its number of occurrences, as uniq -c
    bool lineNumbers = false; // each written line after its line number and ":", as grep -n
    bool check = false; // write nothing; the exit status tells whether there are duplicates
    bool quiet = false; // no status line
    bool progress = false; // a progress line on standard error even when it is no terminal
    std::uint64_t memoryBudget = 0; // bytes the scan may take, as sort -S; 0 asks the system
};

} // namespace twinscan

#pragma once

#include "editing/LineCopy.h"
#include "editing/LineSelection.h"
#include "editing/RemovalList.h"
#include "editing/SaveOptions.h"
#include "engine/DuplicateScanner.h"

namespace twinscan {

class LineList;
class LoadedText;
class OutputFile;

// How the selected lines are written: with which prefixes, under which save rules.
struct LineOutput
{
    LineSelection selection = LineSelection::KeepFirst;
    bool counts = false; // "%7d " and the line's number of occurrences first, as uniq -c
    bool lineNumbers = false; // the 1-based line number and ":" next, as grep -n
    SaveRules rules;
};

// The lines a keep selection leaves out, marked by the marking rule that stands for it on the
// scan's duplicates list: all but the first, all but the last, or all occurrences.
RemovalSet keptRemovals(LineSelection selection, LineList &duplicates, int lastLineIndex);

// A scan's result as the writer reads it: the text, its duplicates list and the index from each
// line to its entry.
struct ScannedLines
{
    const LoadedText &text;
    const LineList &duplicates;
    const ScanOutcome &outcome;
};

// The 1-based numbers of the lines a selection in file order (any but AllRepeated) does not
// select, so that the save's copy, which leaves them out, writes the selected lines with the
// save's encoding, breaks and rules. `removals` tells a keep selection's lines and Removed's.
RemovalSet linesLeftOut(LineSelection selection, const LineEntryIndex &index, int lineCount,
    const RemovalSet &removals);

// Writes the selected lines of the text to `out`, each with its prefixes, trimmed and dropped
// when empty as the rules say, ended in the output's break. `removals` (of keptRemovals) tells a
// keep selection's lines; the others follow from the groups.
CopyOutcome writeSelectedLines(OutputFile &out, const ScannedLines &scanned,
    const LineOutput &output, const RemovalSet &removals);

} // namespace twinscan

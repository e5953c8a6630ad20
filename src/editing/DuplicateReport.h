#pragma once

#include "editing/LineCopy.h"
#include "engine/Progress.h"

#include <string_view>

namespace twinscan {

class KeyExtractor;
class LineEntryIndex;
class LineList;
class LoadedText;
class OutputFile;

// A scan's groups as the report reads them: the text, the duplicates list in its own order
// (groups by their first lines, each in file order) and the group of every entry.
struct ReportSource
{
    const LoadedText &text;
    const LineList &duplicates;
    const LineEntryIndex &entries;
    const KeyExtractor *key = nullptr; // adds the key column; none when lines compare whole
};

// The report is tab-separated UTF-8 text, each row ended in LF: a header, then one row per group
// with its count, its first line's number, all its line numbers joined by commas (1-based, in
// file order), the first occurrence's text and, with a key, that line's key. A field keeps one
// row per group by escaping as PostgreSQL's text format does: a tab is \t, a CR \r, an LF \n and
// a backslash \\. A line that is not UTF-8 is written as the window shows it (Latin-1, say);
// UTF-16 text is written in UTF-8.
std::string_view reportHeader(bool withKey);
// Appends `bytes` to `field`, escaped as above.
void appendEscaped(std::string &field, std::string_view bytes);

// Writes the report to `out`. `progress` sees the entries done out of all entries every few
// thousand groups and at the end; false stops it. `removed` of the outcome stays 0.
CopyOutcome writeDuplicateReport(
    OutputFile &out, const ReportSource &source, const ProgressFn &progress = {});

} // namespace twinscan

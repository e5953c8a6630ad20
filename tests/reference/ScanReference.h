#pragma once

#include "engine/KeySpec.h"
#include "engine/ScanOptions.h"

#include <QString>
#include <string>
#include <vector>

namespace twinscan::test {

struct ReferenceScan
{
    std::vector<QString> entries; // the duplicates list as its readers see it
    int groups = 0;
};

// The quadratic search, done literally on decoded characters: take the first remaining line,
// compare its key with every later remaining line's, list the group, remove it, repeat. Each
// line is decoded on its own, as UTF-8 when it is valid UTF-8 and as Latin-1 otherwise; a line
// of one encoding never equals a line of the other (an ASCII line counts as UTF-8).
// With a key, lines compare by the part of their decoded text that it names, as text whatever
// their encodings, and a line without that part takes no part.
ReferenceScan quadraticSearch(
    const std::vector<std::string> &lines, const ScanOptions &switches, const KeySpec &key = {});

// How the reference shows a line: the text a reader of the duplicates list must see.
QString referenceText(const std::string &line);

} // namespace twinscan::test

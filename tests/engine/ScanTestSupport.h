#pragma once

#include "engine/DuplicateScanner.h"
#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"

#include <QString>
#include <string>
#include <vector>

namespace twinscan::test {

struct ScanResult
{
    std::vector<QString> entries; // the duplicates list as its readers see it
    ScanOutcome outcome;
};

inline ScanOptions options(int caseSensitive, int trimLines, int includeEmptyLines)
{
    return {qint16(caseSensitive), qint16(trimLines), qint16(includeEmptyLines)};
}

// Scans bytes as the program scans a file, into a plain list.
inline ScanResult scanBytes(const std::string &bytes, const ScanOptions &switches)
{
    const std::shared_ptr<LoadedText> text = LoadedText::fromBytes(bytes);
    ItemVectorList duplicates;
    duplicates.setSource(text);
    ScanResult result;
    result.outcome = DuplicateScanner(*text, ScanRules::from(switches)).run(duplicates);
    for (int i = 0; i < duplicates.ListCount(); ++i)
        result.entries.push_back(duplicates.List(i));
    return result;
}

} // namespace twinscan::test

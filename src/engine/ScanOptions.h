#pragma once

#include <QtGlobal>

namespace twinscan {

// The three scan switches as the settings and the dialog hold them: check-box values, 1 for on.
struct ScanOptions
{
    qint16 caseSensitive = 0;
    qint16 trimLines = 0;
    qint16 includeEmptyLines = 0;
};

// How the scan reads those values: case sensitivity is on for anything but 0, the other two
// only for exactly 1.
struct ScanRules
{
    bool caseSensitive = false;
    bool trimLines = false;
    bool includeEmptyLines = false;

    static ScanRules from(const ScanOptions &options)
    {
        return {options.caseSensitive != 0, options.trimLines == 1, options.includeEmptyLines == 1};
    }
};

} // namespace twinscan

#pragma once

#include "engine/LineBreaks.h"

#include <QtGlobal>

namespace twinscan {

// The two save switches as the settings and the dialog hold them: check-box values, 1 for on.
struct SaveOptions
{
    qint16 trimSaveLines = 0;
    qint16 saveEmptyLines = 1;
};

// How the save reads them: trim only for exactly 1, drop empty lines only for exactly 0.
struct SaveRules
{
    bool trimLines = false;
    bool keepEmptyLines = true;
    // A text whose first line has no break gets LF, as a Unix tool writes, instead of CR LF.
    bool lfWithoutBreaks = false;
    // Lines read as ended by NUL, and written so, the last one too, as `sort -z` writes them.
    LineEnds lineEnds = LineEnds::Text;

    static SaveRules from(const SaveOptions &options)
    {
        return {options.trimSaveLines == 1, options.saveEmptyLines != 0};
    }
};

} // namespace twinscan

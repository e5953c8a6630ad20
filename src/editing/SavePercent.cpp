#include "editing/SavePercent.h"

#include "engine/Rounding.h"

namespace twinscan {

int savePercent(qint64 done, qint64 lastLineIndex)
{
    if (lastLineIndex <= 0)
        return 100;
    return int(roundHalfEven(100.0 * double(done) / double(lastLineIndex)));
}

} // namespace twinscan

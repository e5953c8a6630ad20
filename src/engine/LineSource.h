#pragma once

#include <QString>

namespace twinscan {

// Where list items that refer to lines of the scanned file get their text from.
class LineSource
{
public:
    virtual ~LineSource() = default;
    virtual int lineCount() const = 0;
    virtual QString lineText(int line) const = 0;
};

} // namespace twinscan

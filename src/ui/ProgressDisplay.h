#pragma once

#include <QtGlobal>

namespace twinscan {

// A progress display as a long job sets it: a range and a value in it, each change shown at once.
class ProgressDisplay
{
public:
    virtual ~ProgressDisplay() = default;

    virtual qint32 Min() const = 0;
    virtual void setMin(qint32 value) = 0;
    virtual qint32 Max() const = 0;
    virtual void setMax(qint32 value) = 0;
    virtual qint32 Value() const = 0;
    virtual void setValue(qint32 value) = 0;
};

} // namespace twinscan

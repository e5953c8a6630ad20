#pragma once

namespace twinscan {

// Seconds since midnight, with fractions: the processing times are measured with it, and tests
// replace it to cross midnight on purpose.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual double secondsSinceMidnight() const = 0;
};

class SystemClock final : public Clock
{
public:
    double secondsSinceMidnight() const override;
};

} // namespace twinscan
